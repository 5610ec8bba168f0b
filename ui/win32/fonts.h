// The form's font roles as GDI fonts: the named face where it is installed, else its free
// stand-in, else the free face this executable carries for it (a Garamond: stock Windows has
// none), else the platform's message font; sized from points at the window's resolution and
// shrunk, where a text would not fit its element, just until it does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "form.h"

namespace velandra::win32 {

// The fonts the executable carries as resources, loaded for this process alone while it lives.
class CarriedFonts {
  public:
    explicit CarriedFonts(HINSTANCE instance);
    ~CarriedFonts();
    CarriedFonts(const CarriedFonts&) = delete;
    CarriedFonts& operator=(const CarriedFonts&) = delete;

  private:
    std::vector<HANDLE> loaded_;
};

// A new font for a control of the given kind, size in pixels and text; the caller deletes it.
HFONT CreateFittingFont(ui::Font role, ui::Kind kind, SIZE area, const std::wstring& text,
                        UINT dpi);

}  // namespace velandra::win32
