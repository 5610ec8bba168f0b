// The program's one window as a native Win32 window: the form's table as standard controls, the
// drawn formula, and the three buttons wired to the calculator commands, which reach the window
// back through FormView.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "appearance.h"
#include "calc.h"
#include "fonts.h"
#include "form.h"

namespace velandra::win32 {

class Quarnelo final : public FormView {
  public:
    // Creates the window, hidden, with every element of the form.
    explicit Quarnelo(HINSTANCE instance);
    ~Quarnelo() override;
    Quarnelo(const Quarnelo&) = delete;
    Quarnelo& operator=(const Quarnelo&) = delete;

    HWND Handle() const { return window_; }
    void Show(int showCommand);

    std::string GetText(BoxId box) const override;
    void SetText(BoxId box, const std::string& text) override;
    void ShowInfoMessage(const std::string& prompt, const std::string& title) override;
    void EndProgram() override;

  private:
    struct Control {
        const ui::Element* element;
        HWND handle;
        HFONT font;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void CreateControls();
    void ChainTabOrder();
    void NameForScreenReaders();
    // Places, sizes and gives fonts to every control for the window's resolution.
    void Layout(UINT dpi);
    // The drawn formula, into the window's own device context or another.
    void Paint(HDC dc);
    HWND ControlNamed(std::string_view name) const;
    HWND BoxFor(BoxId box) const;
    COLORREF TextColour(ui::Colour role) const;

    HINSTANCE instance_;
    CarriedFonts carriedFonts_;
    HWND window_ = nullptr;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    std::vector<Control> controls_;
    HWND lastFocus_ = nullptr;
    Calculator calculator_{*this};
};

}  // namespace velandra::win32
