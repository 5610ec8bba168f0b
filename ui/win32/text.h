// The core speaks UTF-8, Win32 speaks UTF-16: the conversions at the boundary.
#pragma once

#include <string>
#include <string_view>

namespace velandra::win32 {

std::wstring Widen(std::string_view utf8);
// Text that is not valid UTF-16 (a lone surrogate) becomes U+FFFD, never an error.
std::string Narrow(std::wstring_view utf16);

}  // namespace velandra::win32
