// Reads and sets what a person sees in a running Win32 window, from another process in the same
// Wine prefix, for the end-to-end tests:
//   inspector text X Y            the text of the main window's control at client point X,Y
//   inspector replace X Y KIND    replaces that control's text as a paste does, with a text
//                                 named by KIND that no command line can carry
//   inspector message TITLE       the texts of the window titled TITLE (a message box)
//   inspector overflow            each label or button whose text is wider than its control
//   inspector names               each edit box's accessible name and description
// Texts are written as UTF-8, one per line.
#include <windows.h>

#include <oleacc.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr wchar_t kCaption[] = L"Calcolo della Velandra Corporea";

void Print(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(),
                        length, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
}

std::wstring TextOf(HWND window) {
    const auto length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(length));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return name;
}

std::vector<HWND> Children(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM list) {
            reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND ControlAt(const wchar_t* x, const wchar_t* y) {
    HWND window = FindWindowW(nullptr, kCaption);
    if (window == nullptr) return nullptr;
    const POINT point = {_wtoi(x), _wtoi(y)};
    HWND child = ChildWindowFromPointEx(window, point, CWP_SKIPINVISIBLE);
    return child == window ? nullptr : child;
}

std::wstring Hostile(const std::wstring& kind) {
    if (kind == L"megabyte-of-digits") return std::wstring(1 << 20, L'7');
    if (kind == L"arabic-indic-seventy") return L"\x0667\x0660";
    if (kind == L"high-surrogate-then-seventy")
        return L"\xD800"
               L"70";
    if (kind == L"seventy-then-low-surrogate") return L"70\xDC00";
    return kind;
}

int Overflow() {
    HWND window = FindWindowW(nullptr, kCaption);
    if (window == nullptr) return 2;
    int overflowing = 0;
    HDC dc = GetDC(window);
    for (HWND child : Children(window)) {
        const std::wstring kind = ClassOf(child);
        if (kind != L"Static" && kind != L"Button") continue;
        const std::wstring text = TextOf(child);
        HGDIOBJ previous =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
        RECT needed = {0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), -1, &needed, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, previous);
        RECT client;
        GetClientRect(child, &client);
        if (needed.right > client.right) {
            Print(text + L": " + std::to_wstring(needed.right) + L" > " +
                  std::to_wstring(client.right));
            ++overflowing;
        }
    }
    ReleaseDC(window, dc);
    return overflowing == 0 ? 0 : 1;
}

int Names() {
    HWND window = FindWindowW(nullptr, kCaption);
    if (window == nullptr) return 2;
    CoInitialize(nullptr);
    for (HWND child : Children(window)) {
        if (ClassOf(child) != L"Edit") continue;
        IAccessible* accessible = nullptr;
        if (FAILED(AccessibleObjectFromWindow(child, static_cast<DWORD>(OBJID_CLIENT),
                                              IID_IAccessible,
                                              reinterpret_cast<void**>(&accessible)))) {
            Print(L"(no accessible object)");
            continue;
        }
        VARIANT self;
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR name = nullptr;
        BSTR description = nullptr;
        accessible->get_accName(self, &name);
        accessible->get_accDescription(self, &description);
        Print(std::wstring(name ? name : L"") + L" | " + (description ? description : L""));
        SysFreeString(name);
        SysFreeString(description);
        accessible->Release();
    }
    CoUninitialize();
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"text" && argc == 4) {
        HWND control = ControlAt(argv[2], argv[3]);
        if (control == nullptr) return 2;
        Print(TextOf(control));
        return 0;
    }
    if (command == L"replace" && argc == 5) {
        HWND control = ControlAt(argv[2], argv[3]);
        if (control == nullptr) return 2;
        const std::wstring text = Hostile(argv[4]);
        SendMessageW(control, EM_SETSEL, 0, -1);
        SendMessageW(control, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
        return 0;
    }
    if (command == L"message" && argc == 3) {
        HWND message = FindWindowW(nullptr, argv[2]);
        if (message == nullptr) return 2;
        for (HWND child : Children(message)) {
            if (ClassOf(child) == L"Static" && !TextOf(child).empty()) Print(TextOf(child));
        }
        return 0;
    }
    if (command == L"overflow" && argc == 2) return Overflow();
    if (command == L"names" && argc == 2) return Names();
    std::fprintf(stderr, "usage: inspector text|replace|message|overflow|names ...\n");
    return 2;
}
