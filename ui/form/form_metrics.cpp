#include "form_metrics.h"

#include <algorithm>
#include <cmath>

namespace velandra::ui {
namespace {

constexpr double kSizeStep = 0.25;

}  // namespace

int ToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

Rect ToPixels(const Rect& box, double dpi) {
    return {ToPixels(box.left, dpi), ToPixels(box.top, dpi), ToPixels(box.width, dpi),
            ToPixels(box.height, dpi)};
}

Segment ToPixels(const Segment& line, double dpi) {
    return {ToPixels(line.x1, dpi), ToPixels(line.y1, dpi), ToPixels(line.x2, dpi),
            ToPixels(line.y2, dpi)};
}

int LineWidthInDevicePixels(double dpi, double devicePixelRatio) {
    return std::max(1, static_cast<int>(std::lround(dpi / kBaseDpi * devicePixelRatio)));
}

double LineOffset(int width) {
    return width % 2 != 0 ? 0.5 : 0.0;
}

double ScaleToFill(double availableWidth, double availableHeight, double width, double height) {
    const double ratio = std::min(availableWidth / width, availableHeight / height);
    return std::max(0.01, std::floor(ratio * 100) / 100);
}

bool InkFits(const Edges& ink, const Edges& area) {
    return ink.left >= area.left - 1 && ink.top >= area.top - 1 && ink.right <= area.right &&
           ink.bottom <= area.bottom;
}

double FittingPointSize(double points, const std::function<bool(double points)>& fits) {
    const double smallest = points / 2;
    double size = points;
    while (size - kSizeStep >= smallest && !fits(size)) size -= kSizeStep;
    return size;
}

}  // namespace velandra::ui
