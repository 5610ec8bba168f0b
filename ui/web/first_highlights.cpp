// The module the page's head compiles at once, before the first frame: the colour rule alone, so
// that the highlighted texts have their readable shades from the start. Colours cross as
// 0xRRGGBB.
#include <emscripten.h>

#include "appearance.h"

namespace {

velandra::ui::Rgb Unpacked(int colour) {
    return {(colour >> 16) & 0xFF, (colour >> 8) & 0xFF, colour & 0xFF};
}

}  // namespace

extern "C" EMSCRIPTEN_KEEPALIVE int velandra_readable(int colour, int background) {
    const velandra::ui::Rgb readable =
        velandra::ui::Readable(Unpacked(colour), Unpacked(background));
    return (readable.red << 16) | (readable.green << 8) | readable.blue;
}
