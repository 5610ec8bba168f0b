#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <random>

#include "calc.h"

namespace velandra {
namespace {

TEST(BodySurfaceArea, IsTheMostellerFormulaToTheLastBit) {
    std::mt19937_64 random(42);
    std::uniform_real_distribution<double> exponent(-150, 150);
    for (int i = 0; i < 100000; ++i) {
        const double peso = std::pow(10.0, exponent(random));
        const double altezza = std::pow(10.0, exponent(random));
        ASSERT_EQ(BodySurfaceArea(peso, altezza), std::sqrt(peso * altezza / 3600))
            << peso << " " << altezza;
    }
}

TEST(BodySurfaceArea, WorkedExamples) {
    EXPECT_EQ(BodySurfaceArea(80, 180), 2.0);
    EXPECT_EQ(BodySurfaceArea(70, 170), 1.818118685772619);
}

// Scaling the operands by powers of two (with an even sum) scales the area by the square root of
// their product, exactly, also where peso × altezza itself would overflow or lose digits below the
// normal range.
struct Scaling {
    int pesoPower;
    int altezzaPower;
};

void PrintTo(const Scaling& scaling, std::ostream* out) {
    *out << "peso·2^" << scaling.pesoPower << ", altezza·2^" << scaling.altezzaPower;
}

class BodySurfaceAreaScalingTest : public ::testing::TestWithParam<Scaling> {};

TEST_P(BodySurfaceAreaScalingTest, StaysExactOutsideTheRangeOfTheProduct) {
    const auto [pesoPower, altezzaPower] = GetParam();
    for (const auto& [peso, altezza] : {std::pair{70.0, 170.0}, std::pair{72.5, 181.3},
                                        std::pair{3.1, 49.0}, std::pair{0.9, 0.7}}) {
        const double scaled =
            BodySurfaceArea(std::ldexp(peso, pesoPower), std::ldexp(altezza, altezzaPower));
        EXPECT_TRUE(std::isnormal(scaled));
        EXPECT_EQ(scaled,
                  std::ldexp(BodySurfaceArea(peso, altezza), (pesoPower + altezzaPower) / 2))
            << peso << "·2^" << pesoPower << ", " << altezza << "·2^" << altezzaPower;
    }
}

INSTANTIATE_TEST_SUITE_P(Powers, BodySurfaceAreaScalingTest,
                         ::testing::Values(Scaling{600, 600}, Scaling{1000, 900},
                                           Scaling{1001, 999}, Scaling{-600, -600},
                                           Scaling{-1001, -999}, Scaling{-1016, -1012},
                                           Scaling{1017, -1017}, Scaling{-1010, -6}));

TEST(BodySurfaceArea, IsFiniteForTheLargestDoubles) {
    const double largest = std::numeric_limits<double>::max();
    const double area = BodySurfaceArea(largest, largest);
    EXPECT_TRUE(std::isfinite(area));
    EXPECT_DOUBLE_EQ(area, largest / 60);
}

}  // namespace
}  // namespace velandra
