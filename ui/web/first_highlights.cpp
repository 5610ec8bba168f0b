// The module the page's head compiles at once, before the first frame: the highlighted texts'
// colours alone. Colours cross as 0xRRGGBB.
#include <emscripten.h>

#include "highlights.h"

namespace {

velandra::ui::Rgb Unpacked(int colour) {
    return {(colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF};
}

int Packed(velandra::ui::Rgb colour) {
    return (colour.red << 16) | (colour.green << 8) | colour.blue;
}

}  // namespace

extern "C" {

EMSCRIPTEN_KEEPALIVE int velandra_labels_highlight(int face, int highlight, int highlightText) {
    return Packed(
        velandra::web::PageHighlights(Unpacked(face), Unpacked(highlight), Unpacked(highlightText))
            .labels);
}

EMSCRIPTEN_KEEPALIVE int velandra_caption_highlight(int face, int highlight, int highlightText) {
    return Packed(
        velandra::web::PageHighlights(Unpacked(face), Unpacked(highlight), Unpacked(highlightText))
            .caption);
}

}  // extern "C"
