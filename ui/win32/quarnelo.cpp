#include "quarnelo.h"

#include <commctrl.h>
#include <initguid.h>
#include <oleacc.h>

#include <algorithm>

#include "announcement.h"
#include "fonts.h"
#include "form_metrics.h"
#include "text.h"

namespace velandra::win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Quarnelo";
constexpr DWORD kWindowStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr int kFirstControlId = 100;
// UI Automation's LiveSetting property, which MinGW-w64's headers lack, and its polite value: a
// screen reader reads the control's change when it has finished speaking.
constexpr GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr LONG kPoliteLiveSetting = 1;

COLORREF ToColorRef(ui::Rgb colour) {
    return RGB(colour.red, colour.green, colour.blue);
}

ui::Rgb ToRgb(COLORREF colour) {
    return {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
}

// The outer size of a window whose client area is the form's at the given resolution.
SIZE WindowSize(UINT dpi) {
    RECT frame = {0, 0, ui::ToPixels(ui::kClientWidth, dpi), ui::ToPixels(ui::kClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, 0, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

HWND CreateControl(const ui::Element& element, HWND parent, int id, HINSTANCE instance) {
    const std::wstring text = Widen(element.text);
    const bool centred = element.align == ui::Align::Centre;
    const wchar_t* windowClass = L"STATIC";
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (element.kind) {
        case ui::Kind::TextBox:
            windowClass = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL | (centred ? ES_CENTER : ES_LEFT);
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ui::Kind::PushButton:
            windowClass = L"BUTTON";
            style |= WS_TABSTOP | BS_PUSHBUTTON;
            break;
        case ui::Kind::Label:
            style |= SS_NOPREFIX | SS_CENTERIMAGE | (centred ? SS_CENTER : SS_LEFT);
            break;
        case ui::Kind::Line:
            return nullptr;
    }
    HWND control =
        CreateWindowExW(exStyle, windowClass, text.c_str(), style, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    // No limit on what a box takes (the default is 32,767 characters).
    if (element.kind == ui::Kind::TextBox) SendMessageW(control, EM_SETLIMITTEXT, 0, 0);
    return control;
}

}  // namespace

Quarnelo::Quarnelo(HINSTANCE instance) : instance_(instance), carriedFonts_(instance) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    windowClass.hIconSm = windowClass.hIcon;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassExW(&windowClass);

    const SIZE size = WindowSize(GetDpiForSystem());
    window_ = CreateWindowExW(0, kWindowClass, Widen(ui::kCaption).c_str(),
                              kWindowStyle | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT, size.cx,
                              size.cy, nullptr, nullptr, instance, this);
    CreateControls();
    ChainTabOrder();
    NameForScreenReaders();
    Layout(GetDpiForWindow(window_));
}

Quarnelo::~Quarnelo() {
    for (const Control& control : controls_) DeleteObject(control.font);
}

void Quarnelo::Show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    SetFocus(BoxFor(BoxId::TxtPeso));
}

void Quarnelo::CreateControls() {
    int id = kFirstControlId;
    for (const ui::Element& element : ui::kElements) {
        HWND handle = CreateControl(element, window_, id++, instance_);
        if (handle != nullptr) controls_.push_back({&element, handle, nullptr});
    }
}

// Tab moves through the controls in their order on the window, so that order follows the tab
// indexes, whatever the order of creation.
void Quarnelo::ChainTabOrder() {
    std::vector<Control> byTabIndex = controls_;
    std::stable_sort(byTabIndex.begin(), byTabIndex.end(), [](const Control& a, const Control& b) {
        return a.element->tabIndex < b.element->tabIndex;
    });
    for (const Control& control : byTabIndex) {
        SetWindowPos(control.handle, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

// Windows names an edit box after the static text created before it, which here is not its
// caption; each box and its caption get their spoken names and descriptions explicitly. The
// result box is a polite live region, which SetText tells of each new result.
void Quarnelo::NameForScreenReaders() {
    IAccPropServices* services = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&services)))) {
        return;
    }
    const auto set = [services](HWND control, const MSAAPROPID& property, std::string_view text) {
        if (text.empty()) return;
        services->SetHwndPropStr(control, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property,
                                 Widen(text).c_str());
    };
    for (const ui::CaptionedBox& pair : ui::kCaptionedBoxes) {
        set(ControlNamed(pair.box), PROPID_ACC_NAME, pair.accessibleName);
        set(ControlNamed(pair.box), PROPID_ACC_DESCRIPTION, pair.accessibleDescription);
        set(ControlNamed(pair.caption), PROPID_ACC_NAME, pair.accessibleName);
    }
    set(ControlNamed(ui::kFormulaElement), PROPID_ACC_NAME, ui::kFormulaReading);
    VARIANT polite;
    VariantInit(&polite);
    polite.vt = VT_I4;
    polite.lVal = kPoliteLiveSetting;
    services->SetHwndProp(BoxFor(BoxId::TxtVelandra), static_cast<DWORD>(OBJID_CLIENT),
                          CHILDID_SELF, kLiveSettingProperty, polite);
    services->Release();
}

void Quarnelo::Layout(UINT dpi) {
    dpi_ = dpi;
    for (Control& control : controls_) {
        const ui::Rect box = ui::ToPixels(control.element->box, dpi);
        MoveWindow(control.handle, box.left, box.top, box.width, box.height, FALSE);
        HFONT font = CreateFittingFont(control.element->font, control.element->kind,
                                       {box.width, box.height}, Widen(control.element->text), dpi);
        SendMessageW(control.handle, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        DeleteObject(control.font);
        control.font = font;
    }
    InvalidateRect(window_, nullptr, TRUE);
}

void Quarnelo::Paint(HDC dc) {
    const int width = ui::LineWidthInDevicePixels(dpi_, 1.0);
    HPEN pen = CreatePen(PS_SOLID, width, TextColour(ui::Colour::Desktop));
    HGDIOBJ previous = SelectObject(dc, pen);
    for (const ui::Element& element : ui::kElements) {
        if (element.kind != ui::Kind::Line) continue;
        const ui::Segment line = ui::ToPixels(element.line, dpi_);
        MoveToEx(dc, line.x1, line.y1, nullptr);
        LineTo(dc, line.x2, line.y2);
    }
    SelectObject(dc, previous);
    DeleteObject(pen);
}

COLORREF Quarnelo::TextColour(ui::Colour role) const {
    const ui::Rgb face = ToRgb(GetSysColor(COLOR_BTNFACE));
    switch (role) {
        case ui::Colour::Highlight:
            return ToColorRef(ui::Readable(ToRgb(GetSysColor(COLOR_HIGHLIGHT)), face));
        case ui::Colour::Desktop:
            return ToColorRef(ui::Readable(ToRgb(GetSysColor(COLOR_BACKGROUND)), face));
        case ui::Colour::Default:
            break;
    }
    return GetSysColor(COLOR_WINDOWTEXT);
}

HWND Quarnelo::ControlNamed(std::string_view name) const {
    for (const Control& control : controls_) {
        if (control.element->name == name) return control.handle;
    }
    return nullptr;
}

HWND Quarnelo::BoxFor(BoxId box) const {
    return ControlNamed(NameOf(box));
}

std::string Quarnelo::GetText(BoxId box) const {
    HWND edit = BoxFor(box);
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(edit)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void Quarnelo::SetText(BoxId box, const std::string& text) {
    HWND edit = BoxFor(box);
    SetWindowTextW(edit, Widen(text).c_str());
    // A result wider than its box must show its leading digits, not its last ones.
    SendMessageW(edit, EM_SETSEL, 0, 0);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    // Every result is news, also one equal to the last; a cleared box is not.
    if (box == BoxId::TxtVelandra && !ui::ResultAnnouncement(text).empty()) {
        NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, edit, OBJID_CLIENT, CHILDID_SELF);
    }
}

void Quarnelo::ShowInfoMessage(const std::string& prompt, const std::string& title) {
    MessageBoxW(window_, Widen(prompt).c_str(), Widen(title).c_str(), MB_OK | MB_ICONINFORMATION);
}

void Quarnelo::EndProgram() {
    DestroyWindow(window_);
}

LRESULT CALLBACK Quarnelo::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self =
            static_cast<Quarnelo*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<Quarnelo*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->OnMessage(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

LRESULT Quarnelo::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND: {
            // Enter and Escape arrive as IDOK and IDCANCEL: no button answers them.
            if (HIWORD(wParam) != BN_CLICKED) break;
            HWND button = reinterpret_cast<HWND>(lParam);
            if (button == ControlNamed("CmdCalcola")) calculator_.OnCalcola();
            if (button == ControlNamed("CmdCancella")) calculator_.OnCancella();
            if (button == ControlNamed("CmdUscita")) calculator_.OnUscita();
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            // Labels paint the face colour behind text of their own colour.
            HDC dc = reinterpret_cast<HDC>(wParam);
            HWND label = reinterpret_cast<HWND>(lParam);
            for (const Control& control : controls_) {
                if (control.handle != label) continue;
                SetTextColor(dc, TextColour(control.element->colour));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            }
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_PAINT: {
            PAINTSTRUCT paint;
            Paint(BeginPaint(window_, &paint));
            EndPaint(window_, &paint);
            return 0;
        }
        case WM_PRINTCLIENT:
            // Drawn into another device context: a print, a magnifier's or a thumbnail's copy.
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_ACTIVATE:
            // As a dialog does: the focus leaves with the window and comes back where it was.
            if (LOWORD(wParam) == WA_INACTIVE) {
                lastFocus_ = GetFocus();
            } else if (lastFocus_ != nullptr && IsChild(window_, lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_DPICHANGED: {
            const auto* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                         suggested->right - suggested->left, suggested->bottom - suggested->top,
                         SWP_NOZORDER | SWP_NOACTIVATE);
            Layout(HIWORD(wParam));
            return 0;
        }
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace velandra::win32
