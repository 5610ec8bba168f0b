#include "appearance.h"

#include <algorithm>
#include <cmath>

namespace velandra::ui {
namespace {

// Each step takes a tenth of the way to black or to white.
constexpr double kShadeStep = 0.1;
constexpr int kMaxShadeSteps = 60;

double RelativeLuminance(Rgb colour) {
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.red) + 0.7152 * linear(colour.green) +
           0.0722 * linear(colour.blue);
}

Rgb Shaded(Rgb colour, bool darken) {
    const auto shade = [darken](int channel) {
        const double target = darken ? 0.0 : 255.0;
        return static_cast<int>(std::lround(channel + (target - channel) * kShadeStep));
    };
    return {shade(colour.red), shade(colour.green), shade(colour.blue)};
}

}  // namespace

// Liberation Sans has the widths of the sans serif, DejaVu Sans is drawn after Verdana, EB
// Garamond is a Garamond. EB Garamond's italic capitals run two pixels past the result caption,
// so the italic takes Liberation Serif, a Times of narrower italic.
FontFace FaceOf(Font role) {
    switch (role) {
        case Font::SansSmall:
            return {"MS Sans Serif", "Liberation Sans", 8.25, false, false};
        case Font::Sans:
            return {"MS Sans Serif", "Liberation Sans", 9.75, false, false};
        case Font::GaramondBold:
            return {"Garamond", "EB Garamond", 14.25, true, false};
        case Font::GaramondItalic:
            return {"Garamond", "Liberation Serif", 12, false, true};
        case Font::VerdanaBold:
            return {"Verdana", "DejaVu Sans", 9.75, true, false};
        case Font::VerdanaItalic:
            return {"Verdana", "DejaVu Sans", 9.75, false, true};
        case Font::None:
            break;
    }
    return {"", "", 0, false, false};
}

double ContrastRatio(Rgb a, Rgb b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

Rgb Readable(Rgb colour, Rgb background) {
    const bool darken = RelativeLuminance(background) > 0.5;
    for (int step = 0;
         step < kMaxShadeSteps && ContrastRatio(colour, background) < kReadableContrast; ++step) {
        colour = Shaded(colour, darken);
    }
    return colour;
}

}  // namespace velandra::ui
