// The decimal separator of the user's regional settings in a browser: the one the browser's
// preferred language writes (navigator.language, then navigator.languages, through
// Intl.NumberFormat). Where there is no
// navigator (node), Intl's default locale, which node takes from LANG.
#include <emscripten.h>

#include "calc.h"

// clang-format off
EM_JS(void, js_decimal_separator, (char* out, int size), {
    // A language Intl rejects ("C" or "POSIX", which a browser started under the C locale may
    // report, or an empty or malformed tag) is passed over for the next one; with none left
    // the separator is the point.
    var languages = typeof navigator == 'object'
        ? [navigator.language].concat(navigator.languages || [])
        : [undefined];
    var separator = '.';
    for (var i = 0; i < languages.length; ++i) {
        var format;
        try {
            format = new Intl.NumberFormat(languages[i]);
        } catch (rejected) {
            continue;
        }
        format.formatToParts(1.5).forEach(function (part) {
            if (part.type == 'decimal') separator = part.value;
        });
        break;
    }
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
