// The decimal separator of the user's regional settings on Windows: the one chosen in the
// Region control panel, whatever the environment says.
#include <windows.h>

#include "calc.h"

namespace velandra {

std::string RegionalDecimalSeparator() {
    wchar_t separator[8] = {};  // LOCALE_SDECIMAL holds at most four characters
    const int length = GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    if (length <= 1) return ".";
    char utf8[32] = {};
    const int bytes =
        WideCharToMultiByte(CP_UTF8, 0, separator, length - 1, utf8, sizeof utf8, nullptr, nullptr);
    return bytes > 0 ? std::string(utf8, static_cast<std::size_t>(bytes)) : ".";
}

}  // namespace velandra
