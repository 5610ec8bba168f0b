// The decimal separator of the user's regional settings in a browser: the one the browser's
// preferred language writes (navigator.language, through Intl.NumberFormat). Where there is no
// navigator (node), Intl's default locale, which node takes from LANG.
#include <emscripten.h>

#include "calc.h"

// clang-format off
EM_JS(void, js_decimal_separator, (char* out, int size), {
    var language = typeof navigator == 'object' ? navigator.language : undefined;
    var separator = '.';
    new Intl.NumberFormat(language).formatToParts(1.5).forEach(function (part) {
        if (part.type == 'decimal') separator = part.value;
    });
    stringToUTF8(separator, out, size);
});
// clang-format on

namespace velandra {

std::string RegionalDecimalSeparator() {
    char separator[16] = {};
    js_decimal_separator(separator, sizeof separator);
    return separator;
}

}  // namespace velandra
