// Decimal text to double and back in the C locale's notation, whatever locale the process runs
// under. The standard library's std::from_chars and std::to_chars do it where they handle
// floating point; elsewhere (older libc++, as in WebAssembly builds) exact conversions of our
// own on big integers do it. The C library's strtod and snprintf would bring their locales, a
// whole printf and a 128-bit floating-point arithmetic in software: half the web page's module.
#pragma once

#include <cstddef>
#include <optional>

namespace velandra::detail {

// The double nearest to the decimal in [first, last), which holds digits with at most one point
// and nothing else; nothing for a magnitude beyond the largest double or too small to tell from
// zero.
std::optional<double> ParseDecimal(const char* first, const char* last);

// Writes the value as printf's "%.15g" does in the C locale; returns the length written.
// `out` must hold 32 characters.
std::size_t WriteGeneral15(double value, char* out);

}  // namespace velandra::detail
