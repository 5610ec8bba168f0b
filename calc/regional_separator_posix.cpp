// The decimal separator of the user's regional settings where they are the POSIX locale
// environment (Linux and other Unix systems).
#include <cstdlib>
#include <locale>
#include <stdexcept>

#include "calc.h"

namespace velandra {
namespace {

// The locale name that governs numbers, by the POSIX order of precedence.
std::string NumericLocaleName() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value != nullptr && *value != '\0') return value;
    }
    return "C";
}

std::string EncodeUtf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

}  // namespace

std::string RegionalDecimalSeparator() {
    try {
        const std::locale regional(NumericLocaleName());
        // The wide facet gives the whole character where a locale's separator is not ASCII.
        const wchar_t point = std::use_facet<std::numpunct<wchar_t>>(regional).decimal_point();
        const auto code = static_cast<char32_t>(point);
        const bool valid = code > 0x20 && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        return valid ? EncodeUtf8(code) : ".";
    } catch (const std::runtime_error&) {
        return ".";  // the named locale is not installed
    }
}

}  // namespace velandra
