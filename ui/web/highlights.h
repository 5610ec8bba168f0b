// The colours the page gives its highlighted texts, worked out both before the page's first frame
// (a small module of its own in the page's head) and by the program on every change of display.
#pragma once

#include "appearance.h"

namespace velandra::web {

struct Highlights {
    ui::Rgb labels;   // the highlighted labels' text, on the face
    ui::Rgb caption;  // the caption bars, behind the highlight's text colour
};

// Each is the system highlight wherever it reads well, else the nearest shade of it that does
// (a browser's highlight may be too light: Firefox's, WebKit's).
Highlights PageHighlights(ui::Rgb face, ui::Rgb highlight, ui::Rgb highlightText);

}  // namespace velandra::web
