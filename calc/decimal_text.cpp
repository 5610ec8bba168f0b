#include "decimal_text.h"

#include <version>

// Projects that want the C library path where the standard library has the floating-point
// conversions too (to test it) define VELANDRA_DECIMAL_TEXT_FROM_C_LIBRARY.
#if __cpp_lib_to_chars >= 201611L && !defined(VELANDRA_DECIMAL_TEXT_FROM_C_LIBRARY)
#include <charconv>
#include <system_error>
#else
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#endif

namespace velandra::detail {

#if __cpp_lib_to_chars >= 201611L && !defined(VELANDRA_DECIMAL_TEXT_FROM_C_LIBRARY)

std::optional<double> ParseDecimal(const char* first, const char* last) {
    double value = 0.0;
    // "fixed" keeps it from reading an exponent; the caller passes nothing else it could misread.
    const auto [stop, error] = std::from_chars(first, last, value, std::chars_format::fixed);
    if (error != std::errc{} || stop != last) return std::nullopt;
    return value;
}

std::size_t WriteGeneral15(double value, char* out) {
    const auto result = std::to_chars(out, out + 32, value, std::chars_format::general, 15);
    return static_cast<std::size_t>(result.ptr - out);
}

#else

namespace {

// The decimal point of the process's current C locale: usually ".", "," under many locales.
std::string LocaleDecimalPoint() {
    const char* point = std::localeconv()->decimal_point;
    return point != nullptr && *point != '\0' ? point : ".";
}

}  // namespace

std::optional<double> ParseDecimal(const char* first, const char* last) {
    const std::string point = LocaleDecimalPoint();
    std::string text;
    text.reserve(static_cast<std::size_t>(last - first) + point.size());
    for (const char* p = first; p != last; ++p) {
        if (*p == '.') {
            text += point;
        } else {
            text += *p;
        }
    }
    // strtod rounds correctly (glibc, musl); beyond the largest double it gives HUGE_VAL, and
    // zero for a nonzero decimal too small to tell from it.
    const double value = std::strtod(text.c_str(), nullptr);
    const bool nonzero = std::any_of(first, last, [](char c) { return c >= '1' && c <= '9'; });
    if (std::isinf(value) || (value == 0.0 && nonzero)) return std::nullopt;
    return value;
}

std::size_t WriteGeneral15(double value, char* out) {
    char written[64];
    const int length = std::snprintf(written, sizeof written, "%.15g", value);
    const std::string point = LocaleDecimalPoint();
    std::size_t size = 0;
    for (int i = 0; i < length && size < 31;) {
        if (std::strncmp(written + i, point.c_str(), point.size()) == 0) {
            out[size++] = '.';
            i += static_cast<int>(point.size());
        } else {
            out[size++] = written[i++];
        }
    }
    return size;
}

#endif

}  // namespace velandra::detail
