#include "highlights.h"

namespace velandra::web {

Highlights PageHighlights(ui::Rgb face, ui::Rgb highlight, ui::Rgb highlightText) {
    return {ui::Readable(highlight, face), ui::Readable(highlight, highlightText)};
}

}  // namespace velandra::web
