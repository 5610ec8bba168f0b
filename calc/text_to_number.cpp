#include "calc.h"
#include "decimal_text.h"

namespace velandra {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
const char* SkipDigits(const char* p, const char* end) {
    while (p != end && *p >= '0' && *p <= '9') ++p;
    return p;
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

    // The number: digits, then at most one point with digits after it.
    const char* const first = p;
    p = SkipDigits(p, end);
    bool seenDigit = p != first;
    if (p != end && *p == '.') {
        const char* const fraction = p + 1;
        p = SkipDigits(fraction, end);
        seenDigit = seenDigit || p != fraction;
    }
    if (!seenDigit) return 0.0;

    const std::optional<double> magnitude = detail::ParseDecimal(first, p);
    if (!magnitude) return 0.0;
    return negative ? -*magnitude : *magnitude;
}

}  // namespace velandra
