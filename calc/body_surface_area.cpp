#include <cfloat>
#include <cmath>

#include "calc.h"

namespace velandra {

double BodySurfaceArea(double peso, double altezza) {
    constexpr double kDivisor = 3600;

    const double product = peso * altezza;
    const double quotient = product / kDivisor;
    if (std::isfinite(product) && quotient >= DBL_MIN) return std::sqrt(quotient);

    // The product overflowed, or the quotient fell below the normal range and lost digits.
    // Split off the binary exponents, which scales exactly, and make their sum even so that
    // its half can be put back after the square root: each rounding then happens exactly as
    // it would in the formula above with an unbounded exponent range.
    int pesoExponent = 0;
    int altezzaExponent = 0;
    double pesoMantissa = std::frexp(peso, &pesoExponent);
    const double altezzaMantissa = std::frexp(altezza, &altezzaExponent);
    int exponent = pesoExponent + altezzaExponent;
    if (exponent % 2 != 0) {
        pesoMantissa *= 2;
        exponent -= 1;
    }
    return std::ldexp(std::sqrt(pesoMantissa * altezzaMantissa / kDivisor), exponent / 2);
}

}  // namespace velandra
