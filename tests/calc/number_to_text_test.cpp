#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <ostream>
#include <random>
#include <string>

#include "calc.h"

namespace velandra {
namespace {

struct Writing {
    double value;
    std::string separator;
    std::string text;
};

void PrintTo(const Writing& writing, std::ostream* out) {
    *out << writing.value << " with \"" << writing.separator << "\" writes \"" << writing.text
         << '"';
}

class NumberToTextTest : public ::testing::TestWithParam<Writing> {};

TEST_P(NumberToTextTest, WritesFifteenSignificantDigits) {
    EXPECT_EQ(NumberToText(GetParam().value, GetParam().separator), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberToTextTest,
    ::testing::Values(Writing{1.818118685772619, ".", "1.81811868577262"},
                      Writing{1.818118685772619, ",", "1,81811868577262"}, Writing{2.0, ",", "2"},
                      Writing{0.5, ",", "0,5"},
                      Writing{1.25, "\xD9\xAB",
                              "1\xD9\xAB"
                              "25"},
                      Writing{1234567.0, ".", "1234567"},
                      Writing{123456789012345.0, ".", "123456789012345"},
                      Writing{0.1 + 0.2, ".", "0.3"}, Writing{0.0001, ".", "0.0001"},
                      Writing{2.999999999999999, ".", "3"}, Writing{1e15, ".", "1e+15"},
                      Writing{2.5e20, ",", "2,5e+20"}, Writing{1.5e-5, ",", "1,5e-05"},
                      Writing{1e300, ".", "1e+300"},
                      Writing{1.7976931348623157e308, ".", "1.79769313486232e+308"},
                      Writing{4.9406564584124654e-324, ".", "4.94065645841247e-324"},
                      // Exactly halfway at the fifteenth digit: to the even digit, as printf.
                      Writing{1.000030517578125, ".", "1.00003051757812"},
                      Writing{1.000091552734375, ".", "1.00009155273438"}));

// Parsing the text back gives the value rounded to 15 significant digits, and the text carries
// no blanks, no trailing zeros in its fraction and no bare separator.
TEST(NumberToText, RoundTripsToFifteenSignificantDigits) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-30, 30);

    for (int i = 0; i < 20000; ++i) {
        const double value = mantissa(random) * std::pow(10.0, exponent(random));
        const std::string text = NumberToText(value, ".");

        char rounded[40];
        std::snprintf(rounded, sizeof rounded, "%.14e", value);
        char* parsedEnd = nullptr;
        const double parsed = std::strtod(text.c_str(), &parsedEnd);
        ASSERT_EQ(parsedEnd, text.c_str() + text.size()) << text;
        ASSERT_EQ(parsed, std::strtod(rounded, nullptr)) << text << " from " << rounded;

        const auto mantissaEnd = text.find('e');
        const std::string digits = text.substr(0, mantissaEnd);
        ASSERT_EQ(text.find(' '), std::string::npos) << text;
        if (digits.find('.') != std::string::npos) {
            ASSERT_NE(digits.back(), '0') << text;
            ASSERT_NE(digits.back(), '.') << text;
        }
    }
}

#if defined(_WIN32) || defined(__EMSCRIPTEN__)
// The Windows edition reads the user's Region settings, which the test run chooses (under Wine,
// through the user locale it derives from LANG) and names here; the browser edition reads the
// browser's language (under node, the one node derives from LANG).
TEST(RegionalSeparator, FollowsTheUserRegionSettings) {
    const char* expected = std::getenv("EXPECTED_REGIONAL_SEPARATOR");
    ASSERT_NE(expected, nullptr) << "the run names the separator its settings give";
    EXPECT_EQ(RegionalDecimalSeparator(), expected);
}
#else
// Sets the locale variables for one scope and puts the old ones back after it.
class ScopedLocaleEnvironment {
  public:
    explicit ScopedLocaleEnvironment(const std::map<std::string, std::string>& values) {
        for (const char* name : kNames) {
            const char* old = std::getenv(name);
            saved_[name] = old ? std::optional<std::string>(old) : std::nullopt;
            const auto it = values.find(name);
            if (it == values.end()) {
                unsetenv(name);
            } else {
                setenv(name, it->second.c_str(), 1);
            }
        }
    }
    ~ScopedLocaleEnvironment() {
        for (const auto& [name, value] : saved_) {
            if (value) {
                setenv(name.c_str(), value->c_str(), 1);
            } else {
                unsetenv(name.c_str());
            }
        }
    }

  private:
    static constexpr const char* kNames[] = {"LC_ALL", "LC_NUMERIC", "LANG"};
    std::map<std::string, std::optional<std::string> > saved_;
};

struct Setting {
    std::map<std::string, std::string> environment;
    std::string separator;
};

void PrintTo(const Setting& setting, std::ostream* out) {
    for (const auto& [name, value] : setting.environment) *out << name << '=' << value << ' ';
    *out << "gives \"" << setting.separator << '"';
}

class RegionalSeparatorTest : public ::testing::TestWithParam<Setting> {};

TEST_P(RegionalSeparatorTest, FollowsTheLocaleEnvironment) {
    ScopedLocaleEnvironment scope(GetParam().environment);
    // The process locale really follows too, as it does in the window.
    ASSERT_NE(std::setlocale(LC_ALL, ""), nullptr);

    const std::string separator = RegionalDecimalSeparator();

    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(separator, GetParam().separator);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, RegionalSeparatorTest,
    ::testing::Values(Setting{{}, "."}, Setting{{{"LC_ALL", "C"}}, "."},
                      Setting{{{"LC_ALL", "it_IT.UTF-8"}}, ","},
                      Setting{{{"LC_ALL", "en_US.UTF-8"}}, "."},
                      Setting{{{"LANG", "it_IT.UTF-8"}}, ","},
                      Setting{{{"LANG", "it_IT.UTF-8"}, {"LC_NUMERIC", "en_US.UTF-8"}}, "."},
                      Setting{{{"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "it_IT.UTF-8"}}, ","},
                      Setting{{{"LC_ALL", "en_US.UTF-8"}, {"LC_NUMERIC", "it_IT.UTF-8"}}, "."}));

// A separator outside ASCII is written whole: Pashto's is the Arabic decimal separator U+066B,
// two bytes in UTF-8, D9 AB. The locale is compiled into a private folder for the test.
TEST(RegionalSeparator, WritesANonAsciiSeparatorWhole) {
    char folder[] = "/tmp/velandra-locales-XXXXXX";
    ASSERT_NE(mkdtemp(folder), nullptr);
    const std::string compile =
        std::string("localedef -i ps_AF -f UTF-8 ") + folder + "/ps_AF.UTF-8 >/dev/null 2>&1";
    ASSERT_EQ(std::system(compile.c_str()), 0) << compile;
    setenv("LOCPATH", folder, 1);

    std::string separator;
    {
        ScopedLocaleEnvironment scope(
            std::map<std::string, std::string>{{"LC_ALL", "ps_AF.UTF-8"}});
        separator = RegionalDecimalSeparator();
    }
    unsetenv("LOCPATH");
    std::system((std::string("rm -rf ") + folder).c_str());
    EXPECT_EQ(separator, "\xD9\xAB");
}

TEST(RegionalSeparator, FallsBackToThePointForALocaleThatIsNotInstalled) {
    ScopedLocaleEnvironment scope(std::map<std::string, std::string>{{"LC_ALL", "xx_YY.UTF-8"}});
    EXPECT_EQ(RegionalDecimalSeparator(), ".");
}

#endif

}  // namespace
}  // namespace velandra
