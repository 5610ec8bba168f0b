#include "calc.h"
#include "decimal_text.h"

namespace velandra {

std::string NumberToText(double value, std::string_view decimalSeparator) {
    // Same form as printf's "%.15g", but independent of the process locale.
    char digits[32];
    const char* const end = digits + detail::WriteGeneral15(value, digits);

    std::string text;
    text.reserve(static_cast<std::size_t>(end - digits) + decimalSeparator.size());
    for (const char* p = digits; p != end; ++p) {
        if (*p == '.') {
            text += decimalSeparator;
        } else {
            text += *p;
        }
    }
    return text;
}

std::string NumberToText(double value) {
    static const std::string separator = RegionalDecimalSeparator();
    return NumberToText(value, separator);
}

}  // namespace velandra
