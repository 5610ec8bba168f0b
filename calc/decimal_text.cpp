#include "decimal_text.h"

#include <version>

// Projects that want this file's own conversions where the standard library has them too (to
// test them) define VELANDRA_DECIMAL_TEXT_OWN.
#if __cpp_lib_to_chars >= 201611L && !defined(VELANDRA_DECIMAL_TEXT_OWN)
#include <charconv>
#include <system_error>
#else
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>
#endif

namespace velandra::detail {

#if __cpp_lib_to_chars >= 201611L && !defined(VELANDRA_DECIMAL_TEXT_OWN)

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

// An unsigned integer of any size, in 32-bit limbs, least significant first: the arithmetic that
// converting exactly between decimal text and doubles needs, and no more.
class BigNumber {
  public:
    explicit BigNumber(std::uint64_t value) {
        for (; value != 0; value >>= 32) limbs_.push_back(static_cast<std::uint32_t>(value));
    }

    // this = this * factor + addend
    void MultiplyAdd(std::uint32_t factor, std::uint32_t addend) {
        std::uint64_t carry = addend;
        for (std::uint32_t& limb : limbs_) {
            carry += static_cast<std::uint64_t>(limb) * factor;
            limb = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        if (carry != 0) limbs_.push_back(static_cast<std::uint32_t>(carry));
    }

    // this = this * base^exponent, `step` being base^stepExponent, the largest power in a limb.
    void MultiplyByPower(std::uint32_t base, std::uint32_t step, int stepExponent, int exponent) {
        for (; exponent >= stepExponent; exponent -= stepExponent) MultiplyAdd(step, 0);
        std::uint32_t rest = 1;
        for (; exponent > 0; --exponent) rest *= base;
        MultiplyAdd(rest, 0);
    }
    void MultiplyByPowerOfTen(int exponent) { MultiplyByPower(10, 1000000000, 9, exponent); }
    void MultiplyByPowerOfFive(int exponent) { MultiplyByPower(5, 1220703125, 13, exponent); }

    void ShiftLeft(int bits) {
        const std::size_t words = static_cast<std::size_t>(bits / 32);
        std::vector<std::uint32_t> shifted(limbs_.size() + words + 1, 0);
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            const std::uint64_t limb = static_cast<std::uint64_t>(limbs_[i]) << (bits % 32);
            shifted[i + words] |= static_cast<std::uint32_t>(limb);
            shifted[i + words + 1] = static_cast<std::uint32_t>(limb >> 32);
        }
        limbs_ = std::move(shifted);
        Trim();
    }

    void HalveDown() {
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            const std::uint32_t high = i + 1 < limbs_.size() ? limbs_[i + 1] << 31 : 0;
            limbs_[i] = (limbs_[i] >> 1) | high;
        }
        Trim();
    }

    int BitLength() const {
        if (limbs_.empty()) return 0;
        return static_cast<int>(32 * (limbs_.size() - 1)) + std::bit_width(limbs_.back());
    }

    bool IsZero() const { return limbs_.empty(); }

    bool operator<(const BigNumber& other) const {
        if (limbs_.size() != other.limbs_.size()) return limbs_.size() < other.limbs_.size();
        for (std::size_t i = limbs_.size(); i-- > 0;) {
            if (limbs_[i] != other.limbs_[i]) return limbs_[i] < other.limbs_[i];
        }
        return false;
    }

    // this = this - other, where other <= this.
    void Subtract(const BigNumber& other) {
        std::int64_t borrow = 0;
        for (std::size_t i = 0; i < limbs_.size(); ++i) {
            const std::int64_t difference = static_cast<std::int64_t>(limbs_[i]) - borrow -
                                            (i < other.limbs_.size() ? other.limbs_[i] : 0);
            borrow = difference < 0 ? 1 : 0;
            limbs_[i] = static_cast<std::uint32_t>(difference + (borrow << 32));
        }
        Trim();
    }

    // The decimal digits, most significant first ("0" for zero).
    std::string ToDecimal() const {
        std::vector<std::uint32_t> quotient = limbs_;
        std::string reversed;
        while (!quotient.empty()) {
            std::uint64_t remainder = 0;
            for (std::size_t i = quotient.size(); i-- > 0;) {
                const std::uint64_t part = (remainder << 32) | quotient[i];
                quotient[i] = static_cast<std::uint32_t>(part / 1000000000);
                remainder = part % 1000000000;
            }
            while (!quotient.empty() && quotient.back() == 0) quotient.pop_back();
            for (int i = 0; i < 9 && (remainder != 0 || !quotient.empty()); ++i) {
                reversed += static_cast<char>('0' + remainder % 10);
                remainder /= 10;
            }
        }
        return reversed.empty() ? "0" : std::string(reversed.rbegin(), reversed.rend());
    }

  private:
    void Trim() {
        while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
    }

    std::vector<std::uint32_t> limbs_;
};

// Digits kept of a longer decimal: more than the 768 significant digits of the longest
// decimal halfway between two doubles, so that the digits dropped (stood for by one nonzero
// digit after those kept) cannot change the rounding.
constexpr std::size_t kKeptDigits = 800;

}  // namespace

std::optional<double> ParseDecimal(const char* first, const char* last) {
    // The decimal as significant digits times a power of ten.
    std::string digits;
    long long exponent = 0;
    bool afterPoint = false;
    bool droppedNonzero = false;
    for (const char* p = first; p != last; ++p) {
        if (*p == '.') {
            afterPoint = true;
        } else if (digits.empty() && *p == '0') {
            if (afterPoint) --exponent;
        } else if (digits.size() < kKeptDigits) {
            digits += *p;
            if (afterPoint) --exponent;
        } else {
            droppedNonzero = droppedNonzero || *p != '0';
            if (!afterPoint) ++exponent;
        }
    }
    if (droppedNonzero) {
        digits += '1';
        --exponent;
    }
    if (digits.empty()) return 0.0;

    // 10^(magnitude - 1) <= decimal < 10^magnitude. From 1e309 up it is beyond the largest
    // double; below 1e-324, less than half the smallest, it rounds to zero.
    const long long magnitude = static_cast<long long>(digits.size()) + exponent;
    if (magnitude > 309 || magnitude < -323) return std::nullopt;

    // The decimal is exactly numerator / denominator.
    BigNumber numerator(0);
    for (const char digit : digits) {
        numerator.MultiplyAdd(10, static_cast<std::uint32_t>(digit - '0'));
    }
    BigNumber denominator(1);
    if (exponent >= 0) {
        numerator.MultiplyByPowerOfTen(static_cast<int>(exponent));
    } else {
        denominator.MultiplyByPowerOfTen(static_cast<int>(-exponent));
    }

    // Scaled by 2^scale, the quotient has 54 or 55 bits: the 53 of a double's significand and
    // those to round it by. Below the smallest normal double the scale stops at 2^1075, where
    // the quotient counts in halves of the smallest subnormal.
    const int scale = std::min(54 - (numerator.BitLength() - denominator.BitLength()), 1075);
    if (scale >= 0) {
        numerator.ShiftLeft(scale);
    } else {
        denominator.ShiftLeft(-scale);
    }
    // Long division, one bit of the quotient at a time.
    std::uint64_t quotient = 0;
    denominator.ShiftLeft(56);
    for (int bit = 55; bit >= 0; --bit) {
        denominator.HalveDown();
        if (!(numerator < denominator)) {
            numerator.Subtract(denominator);
            quotient |= std::uint64_t{1} << bit;
        }
    }
    bool inexact = !numerator.IsZero();
    int halves = scale;
    if (quotient >> 54 != 0) {
        inexact = inexact || (quotient & 1) != 0;
        quotient >>= 1;
        --halves;
    }

    // Rounded to nearest, a tie to the even significand.
    std::uint64_t significand = quotient >> 1;
    const bool half = (quotient & 1) != 0;
    if (half && (inexact || (significand & 1) != 0)) ++significand;
    const double value = std::ldexp(static_cast<double>(significand), 1 - halves);
    if (std::isinf(value) || value == 0.0) return std::nullopt;
    return value;
}

std::size_t WriteGeneral15(double value, char* out) {
    constexpr int kPrecision = 15;
    char* p = out;
    const auto write = [&p](std::string_view text) {
        for (const char c : text) *p++ = c;
    };
    if (std::signbit(value)) *p++ = '-';
    if (std::isnan(value) || std::isinf(value)) {
        write(std::isnan(value) ? "nan" : "inf");
        return static_cast<std::size_t>(p - out);
    }

    // The value is exactly significand * 2^binaryExponent, hence exactly the decimal digits of
    // significand * 5^-binaryExponent with -binaryExponent of them after the point.
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    const int biased = static_cast<int>((bits >> 52) & 0x7FF);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    BigNumber number(biased == 0 ? fraction : fraction | std::uint64_t{1} << 52);
    const int binaryExponent = (biased == 0 ? 1 : biased) - 1075;
    int fractionDigits = 0;
    if (binaryExponent >= 0) {
        number.ShiftLeft(binaryExponent);
    } else {
        number.MultiplyByPowerOfFive(-binaryExponent);
        fractionDigits = -binaryExponent;
    }
    std::string digits = number.ToDecimal();
    if (digits == "0") {
        *p++ = '0';
        return static_cast<std::size_t>(p - out);
    }
    // value = d.ddd... * 10^decimalExponent
    int decimalExponent = static_cast<int>(digits.size()) - 1 - fractionDigits;

    // Rounded to 15 significant digits, a tie to the even digit, as printf rounds.
    if (digits.size() > kPrecision) {
        const char next = digits[kPrecision];
        const bool beyondHalf = digits.find_first_not_of('0', kPrecision + 1) != std::string::npos;
        const bool odd = (digits[kPrecision - 1] - '0') % 2 != 0;
        digits.resize(kPrecision);
        if (next > '5' || (next == '5' && (beyondHalf || odd))) {
            int i = kPrecision - 1;
            for (; i >= 0 && digits[static_cast<std::size_t>(i)] == '9'; --i) {
                digits[static_cast<std::size_t>(i)] = '0';
            }
            if (i < 0) {
                digits.insert(digits.begin(), '1');
                digits.pop_back();
                ++decimalExponent;
            } else {
                ++digits[static_cast<std::size_t>(i)];
            }
        }
    }
    digits.erase(digits.find_last_not_of('0') + 1);

    if (decimalExponent < -4 || decimalExponent >= kPrecision) {
        *p++ = digits[0];
        if (digits.size() > 1) {
            *p++ = '.';
            write(std::string_view(digits).substr(1));
        }
        *p++ = 'e';
        *p++ = decimalExponent < 0 ? '-' : '+';
        const int magnitude = std::abs(decimalExponent);
        if (magnitude >= 100) *p++ = static_cast<char>('0' + magnitude / 100);
        *p++ = static_cast<char>('0' + magnitude / 10 % 10);
        *p++ = static_cast<char>('0' + magnitude % 10);
    } else if (decimalExponent >= 0) {
        const std::size_t whole = static_cast<std::size_t>(decimalExponent) + 1;
        digits.resize(std::max(digits.size(), whole), '0');
        write(std::string_view(digits).substr(0, whole));
        if (digits.size() > whole) {
            *p++ = '.';
            write(std::string_view(digits).substr(whole));
        }
    } else {
        write("0.");
        write(std::string(static_cast<std::size_t>(-decimalExponent - 1), '0'));
        write(digits);
    }
    return static_cast<std::size_t>(p - out);
}

#endif

}  // namespace velandra::detail
