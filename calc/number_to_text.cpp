#include <charconv>

#include "calc.h"

namespace velandra {

std::string NumberToText(double value, std::string_view decimalSeparator) {
    // Same form as printf's "%.15g", but independent of the process locale.
    char digits[32];
    const auto result =
        std::to_chars(digits, digits + sizeof digits, value, std::chars_format::general, 15);

    std::string text;
    text.reserve(static_cast<std::size_t>(result.ptr - digits) + decimalSeparator.size());
    for (const char* p = digits; p != result.ptr; ++p) {
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
