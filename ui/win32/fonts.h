// The form's font roles as GDI fonts: the named face where it is installed, else its free
// stand-in, else the platform's message font; sized from points at the window's resolution and
// shrunk, where a text would not fit its element, just until it does.
#pragma once

#include <windows.h>

#include <string>

#include "form.h"

namespace velandra::win32 {

// A new font for a control of the given kind, size in pixels and text; the caller deletes it.
HFONT CreateFittingFont(ui::Font role, ui::Kind kind, SIZE area, const std::wstring& text,
                        UINT dpi);

}  // namespace velandra::win32
