// Reads and sets what a person sees in a running Win32 window, from another process in the same
// Wine prefix, for the end-to-end tests:
//   inspector text X Y            the text of the main window's control at client point X,Y
//   inspector replace X Y KIND    replaces that control's text as a paste does, with a text
//                                 named by KIND that no command line can carry
//   inspector message TITLE       the texts of the window titled TITLE (a message box)
//   inspector overflow            each label or button whose text is wider than its control
//   inspector names               each edit box's accessible name and description
//   inspector facts               each control: id, class, client rectangle, font face,
//                                 font height, weight and italic, text alignment, text limit
//   inspector capture FILE        the main window's client area as a PPM image
//   inspector icon TITLE          the icon the message box titled TITLE shows, by system icon
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

std::wstring Alignment(HWND control, const std::wstring& kind) {
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (kind == L"Edit") return (style & ES_CENTER) ? L"centre" : L"left";
    if (kind == L"Static") return (style & SS_CENTER) ? L"centre" : L"left";
    return L"default";
}

int Facts() {
    HWND window = FindWindowW(nullptr, kCaption);
    if (window == nullptr) return 2;
    for (HWND child : Children(window)) {
        const std::wstring kind = ClassOf(child);
        RECT box;
        GetWindowRect(child, &box);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&box), 2);
        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        const auto limit = kind == L"Edit" ? SendMessageW(child, EM_GETLIMITTEXT, 0, 0) : 0;
        Print(std::to_wstring(GetDlgCtrlID(child)) + L"\t" + kind + L"\t" +
              std::to_wstring(box.left) + L"\t" + std::to_wstring(box.top) + L"\t" +
              std::to_wstring(box.right - box.left) + L"\t" +
              std::to_wstring(box.bottom - box.top) + L"\t" + font.lfFaceName + L"\t" +
              std::to_wstring(font.lfHeight) + L"\t" + std::to_wstring(font.lfWeight) + L"\t" +
              std::to_wstring(font.lfItalic) + L"\t" + Alignment(child, kind) + L"\t" +
              std::to_wstring(limit));
    }
    return 0;
}

int Capture(const wchar_t* path) {
    HWND window = FindWindowW(nullptr, kCaption);
    if (window == nullptr) return 2;
    RECT client;
    GetClientRect(window, &client);
    const int width = client.right, height = client.bottom;
    HDC source = GetDC(window);
    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    FILE* out = _wfopen(path, L"wb");
    if (out == nullptr) return 2;
    std::fprintf(out, "P6\n%d %d\n255\n", width, height);
    const auto* pixels = static_cast<const unsigned char*>(bits);
    for (int i = 0; i < width * height; ++i) {
        const unsigned char rgb[3] = {pixels[4 * i + 2], pixels[4 * i + 1], pixels[4 * i]};
        std::fwrite(rgb, 1, 3, out);
    }
    std::fclose(out);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, source);
    return 0;
}

// The system icon a message box shows: its icon control holds one of the shared icons.
int Icon(const wchar_t* title) {
    HWND message = FindWindowW(nullptr, title);
    if (message == nullptr) return 2;
    const struct {
        const wchar_t* id;
        const wchar_t* name;
    } icons[] = {{IDI_INFORMATION, L"information"},
                 {IDI_WARNING, L"warning"},
                 {IDI_ERROR, L"error"},
                 {IDI_QUESTION, L"question"}};
    for (HWND child : Children(message)) {
        if (ClassOf(child) != L"Static" || !(GetWindowLongW(child, GWL_STYLE) & SS_ICON)) continue;
        const auto shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        for (const auto& icon : icons) {
            if (shown == LoadIconW(nullptr, icon.id)) Print(icon.name);
        }
    }
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
    if (command == L"facts" && argc == 2) return Facts();
    if (command == L"capture" && argc == 3) return Capture(argv[2]);
    if (command == L"icon" && argc == 3) return Icon(argv[2]);
    std::fprintf(stderr,
                 "usage: inspector text|replace|message|overflow|names|facts|capture|icon ...\n");
    return 2;
}
