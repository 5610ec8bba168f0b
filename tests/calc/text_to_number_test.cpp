#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>
#include <version>

#include "calc.h"

namespace velandra {
namespace {

struct Reading {
    std::string text;
    double value;
};

void PrintTo(const Reading& reading, std::ostream* out) {
    *out << '"' << reading.text.substr(0, 60) << (reading.text.size() > 60 ? "...\"" : "\"")
         << " reads as " << reading.value;
}

class TextToNumberTest : public ::testing::TestWithParam<Reading> {};

// A multiple of 2^-1075, half the smallest double, written out in full: the multiple times 5^1075
// (by long multiplication, least significant digit first) after the point moved 1075 places. An
// odd multiple lies exactly halfway between two doubles; 2^53 - 3 times it has 768 digits.
std::string HalvesOfTheSmallestDouble(std::uint64_t multiple) {
    std::string digits = std::to_string(multiple);
    std::reverse(digits.begin(), digits.end());
    for (int i = 0; i < 1075; ++i) {
        int carry = 0;
        for (char& digit : digits) {
            carry += (digit - '0') * 5;
            digit = static_cast<char>('0' + carry % 10);
            carry /= 10;
        }
        if (carry != 0) digits += static_cast<char>('0' + carry);
    }
    return "0." + std::string(1075 - digits.size(), '0') +
           std::string(digits.rbegin(), digits.rend());
}

TEST_P(TextToNumberTest, ReadsTheLeadingNumber) {
    const double read = TextToNumber(GetParam().text);
    EXPECT_EQ(read, GetParam().value) << '"' << GetParam().text << '"';
    EXPECT_EQ(std::signbit(read), std::signbit(GetParam().value)) << '"' << GetParam().text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, TextToNumberTest,
    ::testing::Values(Reading{"70", 70}, Reading{" 70", 70}, Reading{"70 ", 70},
                      Reading{"\t\n 70", 70}, Reading{"72.5", 72.5}, Reading{".5", 0.5},
                      Reading{"5.", 5}, Reading{"+3", 3}, Reading{"-3", -3},
                      Reading{" -.25kg", -0.25}, Reading{"-0", -0.0}, Reading{"0.", 0},
                      Reading{"72,5", 72}, Reading{"70kg", 70}, Reading{"1.2.3", 1.2},
                      Reading{"abc", 0}, Reading{"", 0}, Reading{" ", 0}, Reading{"-", 0},
                      Reading{".", 0}, Reading{"+.", 0}, Reading{"+-3", 0}, Reading{"- 3", 0},
                      Reading{"inf", 0}, Reading{"nan", 0}, Reading{"infinity", 0},
                      Reading{"\r70", 0}, Reading{"\v70", 0},
                      Reading{"0000000000000000000000000000000000000007", 7}));

// The choices for text outside the plain grammar.
INSTANTIATE_TEST_SUITE_P(Choices, TextToNumberTest,
                         ::testing::Values(Reading{"1E3", 1}, Reading{"2.5e-3", 2.5},
                                           Reading{"7 0", 7}, Reading{"0x1A", 0},
                                           Reading{"017", 17},
                                           Reading{"1" + std::string(400, '0'), 0},
                                           Reading{"-1" + std::string(400, '0'), 0},
                                           Reading{"0." + std::string(400, '0') + "1", 0},
                                           Reading{"1" + std::string(308, '0'), 1e308},
                                           Reading{"0." + std::string(320, '0') + "5", 5e-321}));

// Halfway cases that a reader which drops digits past the seventeenth gets wrong.
INSTANTIATE_TEST_SUITE_P(
    CorrectRounding, TextToNumberTest,
    ::testing::Values(
        Reading{"9007199254740993", 9007199254740992.0},
        Reading{"9007199254740993." + std::string(40, '0') + "1", 9007199254740994.0},
        Reading{"0.1000000000000000055511151231257827021181583404541015625", 0.1},
        Reading{"1.00000000000000011102230246251565404236316680908203125", 1.0},
        Reading{
            "1.00000000000000011102230246251565404236316680908203125" + std::string(40, '0') + "1",
            1.0000000000000002},
        Reading{"0.30000000000000001665334536938066489994525909423828125", 0.30000000000000004},
        // A tie goes to the even zero; one nonzero digit anywhere beyond the 800th lifts it.
        Reading{HalvesOfTheSmallestDouble(1), 0},
        Reading{HalvesOfTheSmallestDouble(1) + std::string(50, '0') + "1" + std::string(50, '0'),
                4.9406564584124654e-324},
        // The longest ties, 768 digits: down to the even (2^52 - 2) * 2^-1074, and up to the
        // even 2^-1022.
        Reading{HalvesOfTheSmallestDouble((std::uint64_t{1} << 53) - 3), 0x0.ffffffffffffep-1022},
        Reading{HalvesOfTheSmallestDouble((std::uint64_t{1} << 53) - 1), 0x1p-1022}));

// Texts built from the number grammar with random blanks, signs and trailing junk, checked
// against the C library's own reader of the bare number.
TEST(TextToNumber, AgreesWithStrtodOnGeneratedTexts) {
    std::mt19937 random(20261207);
    const auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    const std::string blanks = " \t\n";
    const std::string junk[] = {"", "kg", ",5", " 12", "e5", "E-2", "x", "-1", "+", "\xC2\xB2"};

    for (int i = 0; i < 20000; ++i) {
        std::string number;
        const int digits = 1 + pick(i % 10 == 0 ? 60 : 18);
        const int point = pick(digits + 2) - 1;  // -1: no point
        for (int d = 0; d <= digits; ++d) {
            if (d == point) number += '.';
            if (d < digits) number += static_cast<char>('0' + pick(10));
        }
        const char sign = "+- "[pick(3)];
        std::string text(static_cast<std::size_t>(pick(3)),
                         blanks[static_cast<std::size_t>(pick(3))]);
        if (sign != ' ') text += sign;
        text += number + junk[pick(std::size(junk))];

        const double expected = std::strtod(number.c_str(), nullptr);
#if __cpp_lib_to_chars >= 201611L
        double fromChars = 0;
        std::from_chars(number.data(), number.data() + number.size(), fromChars);
        ASSERT_EQ(expected, fromChars) << number;
#endif
        ASSERT_EQ(TextToNumber(text), sign == '-' ? -expected : expected) << '"' << text << '"';
    }
}

TEST(TextToNumber, IgnoresAnItalianProcessLocale) {
#ifdef __EMSCRIPTEN__
    GTEST_SKIP() << "the browser's C library has no numeric locale that moves the decimal point";
#endif
    const std::string previous = std::setlocale(LC_ALL, nullptr);
#ifdef _WIN32
    constexpr const char* kItalian = "Italian_Italy.1252";
#else
    constexpr const char* kItalian = "it_IT.UTF-8";
#endif
    ASSERT_NE(std::setlocale(LC_ALL, kItalian), nullptr) << kItalian << " is not installed";
    ASSERT_EQ(*std::localeconv()->decimal_point, ',');

    const double read = TextToNumber("72.5");

    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_EQ(read, 72.5);
}

TEST(TextToNumber, LongPastedTextsConvertInLinearTime) {
    const std::size_t megabyte = 1 << 20;
    const std::string digits = std::string(megabyte, '7');
    const std::string blanks = std::string(megabyte, ' ') + "70";
    const std::string fraction = "0." + std::string(megabyte, '0') + "3";

    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(TextToNumber(digits), 0);  // far beyond the largest double
    EXPECT_EQ(TextToNumber(blanks), 70);
    EXPECT_EQ(TextToNumber(fraction), 0);
    const auto elapsed = std::chrono::steady_clock::now() - start;

    EXPECT_LT(elapsed, std::chrono::milliseconds(200));
}

}  // namespace
}  // namespace velandra
