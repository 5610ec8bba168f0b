#include <charconv>
#include <system_error>

#include "calc.h"

namespace velandra {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

double TextToNumber(std::string_view text) {
    const char* p = text.data();
    const char* const end = p + text.size();

    while (p != end && IsBlank(*p)) ++p;

    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }

    // The number is the longest run of digits holding at most one point.
    const char* const first = p;
    bool seenPoint = false;
    bool seenDigit = false;
    for (; p != end; ++p) {
        if (IsDigit(*p)) {
            seenDigit = true;
        } else if (*p == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (!seenDigit) return 0.0;

    // from_chars rounds correctly and ignores the locale; "fixed" keeps it from reading an
    // exponent, and the run above holds nothing else it could misread.
    double magnitude = 0.0;
    const auto [stop, error] = std::from_chars(first, p, magnitude, std::chars_format::fixed);
    if (error != std::errc{} || stop != p) return 0.0;
    return negative ? -magnitude : magnitude;
}

}  // namespace velandra
