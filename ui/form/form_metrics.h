// The toolkit-free rules that turn the form's table into pixels on a given display: twips to
// pixels, the width of the drawn lines, and the font size at which a text fits its element.
#pragma once

#include <functional>

#include "form.h"

namespace velandra::ui {

// The resolution at which one pixel is 15 twips and a line is one pixel wide.
inline constexpr double kBaseDpi = 96.0;
inline constexpr double kTwipsPerInch = 1440.0;

// Twips to pixels at the given logical resolution, rounded to the nearest pixel.
int ToPixels(int twips, double dpi);
Rect ToPixels(const Rect& box, double dpi);
Segment ToPixels(const Segment& line, double dpi);

// Width in device pixels of the form's lines: one at 96 dpi, scaled with the logical resolution
// and the device pixel ratio, rounded to whole device pixels, never less than one.
int LineWidthInDevicePixels(double dpi, double devicePixelRatio);
// Where a line `width` pixels wide is drawn from a whole pixel's corner: an odd width is centred
// on the pixel's middle, so that it covers whole pixels rather than halves of two.
double LineOffset(int width);

// The factor, in whole hundredths, by which content `width` x `height` pixels grows or shrinks to
// fill `availableWidth` x `availableHeight` whole: the smaller of the two ratios. Whole hundredths
// leave room for rounding each part to whole pixels without overflowing.
double ScaleToFill(double availableWidth, double availableHeight, double width, double height);

// A rectangle by its edges, in pixels, for measures that fall between whole pixels.
struct Edges {
    double left, top, right, bottom;
};

// Whether a text's ink lies inside the area it is drawn in. Font engines round ink outwards to
// whole pixels, so a glyph that starts a fraction of a pixel left of or above the area measures a
// whole pixel out: those two edges allow one pixel. Past the right and bottom edges the measure is
// strict, where shrinking the text helps.
bool InkFits(const Edges& ink, const Edges& area);

// The largest point size, from `points` down in quarter points, at which `fits` holds: `points`
// itself when the text fits as it is. Stops at half of `points` if nothing larger fits.
double FittingPointSize(double points, const std::function<bool(double points)>& fits);

}  // namespace velandra::ui
