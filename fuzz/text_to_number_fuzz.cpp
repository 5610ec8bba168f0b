// Feeds arbitrary bytes to TextToNumber and checks every answer against a reader built on a
// regular expression of the number grammar and the C library's strtod; then writes the value read,
// and the first eight bytes taken as a double, with NumberToText and checks them against printf.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <string_view>

#include "calc.h"

namespace {

double Reference(const std::string& text) {
    static const std::regex number(R"(^[ \t\n]*([+-]?)([0-9]+\.?[0-9]*|\.[0-9]+))");
    std::smatch match;
    if (!std::regex_search(text, match, number)) return 0.0;
    const std::string digits = match[2].str();
    errno = 0;
    const double magnitude = std::strtod(digits.c_str(), nullptr);
    // Out of range either way (overflow, or underflow to zero) reads as 0.
    if (errno == ERANGE && (std::isinf(magnitude) || magnitude == 0.0)) return 0.0;
    return match[1].str() == "-" ? -magnitude : magnitude;
}

void CheckWriting(double value) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.15g", value);
    if (velandra::NumberToText(value, ".") != expected) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const double read = velandra::TextToNumber(text);
    if (std::isnan(read) || std::isinf(read)) std::abort();
    if (read != Reference(text)) std::abort();
    CheckWriting(read);
    if (size >= sizeof(double)) {
        double raw = 0;
        std::memcpy(&raw, data, sizeof raw);
        CheckWriting(raw);
    }
    return 0;
}
