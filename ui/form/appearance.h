// How the form's font and colour roles become concrete fonts and colours on any platform: the
// named face with its free stand-in, and the rule that keeps every coloured text readable.
#pragma once

#include <string_view>

#include "form.h"

namespace velandra::ui {

// A font role's face: the family the form names, a free stand-in of like width for where it is
// not installed, and its size and style.
struct FontFace {
    std::string_view family;
    std::string_view substitute;
    double points;
    bool bold;
    bool italic;
};

FontFace FaceOf(Font role);

// A colour as 8-bit red, green and blue.
struct Rgb {
    int red;
    int green;
    int blue;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Normal-size text needs a contrast of 4.5:1 to read well (WCAG 2, level AA).
inline constexpr double kReadableContrast = 4.5;

// WCAG contrast ratio of two colours, from 1 (none) to 21.
double ContrastRatio(Rgb a, Rgb b);

// The colour itself if it reads well on the background, else the nearest shade of it, darker on
// a light background and lighter on a dark one, that does.
Rgb Readable(Rgb colour, Rgb background);

}  // namespace velandra::ui
