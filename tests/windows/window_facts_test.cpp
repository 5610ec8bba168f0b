// The Windows window as it is drawn, read in its own process at 96 and 144 dpi and checked
// against facts worked out by hand from the form's twips and Wine's default colours: every
// control's place, font and alignment, each label's text colour by role, the boxes' text limit,
// the radical's lines, and the button text's fit margin.
#include <gtest/gtest.h>
#include <windows.h>

#include <initguid.h>
#include <oleacc.h>

#include <map>
#include <string>
#include <vector>

#include "fonts.h"
#include "quarnelo.h"

namespace {

struct Place {
    int left, top, width, height;
    friend bool operator==(const Place&, const Place&) = default;
};

std::ostream& operator<<(std::ostream& out, const Place& p) {
    return out << '(' << p.left << ", " << p.top << ", " << p.width << ", " << p.height << ')';
}

enum class Role { Box, Button, Highlight, Desktop };

struct Fact {
    const char* name;
    Place at96, at144;
    const wchar_t* face;
    int height96, height144;  // pixels, as GDI's negative character heights
    bool bold, italic, centred;
    Role role;
};

// In the order the window creates its controls (ids 100 up, the lines counted too). Faces are
// those Wine finds with Debian's fonts: no MS Sans Serif, Garamond or Verdana, the stand-ins
// Liberation Sans, Liberation Serif and DejaVu Sans, and for the bold Garamond the EB Garamond
// the program carries (Debian's is listed as "EB Garamond 12"). Places are
// the twips over 15 (96 dpi) and over 10 rounded half up (144 dpi); heights are the points at
// 96 or 144 pixels an inch, rounded half up (8.25 pt: 11 and 17, 9.75: 13 and 20, 14.25: 19
// and 29, 12: 16 and 24).
// clang-format off
const Fact kFacts[] = {
    {"TxtVelandra", {224, 296, 57, 17}, {336, 444, 86, 26}, L"Liberation Sans", 11, 17, false, false, true, Role::Box},
    {"TxtAltezza", {216, 128, 57, 17}, {324, 192, 86, 26}, L"Liberation Sans", 11, 17, false, false, true, Role::Box},
    {"CmdCancella", {40, 344, 81, 25}, {60, 516, 122, 38}, L"Liberation Sans", 13, 20, false, false, false, Role::Button},
    {"CmdCalcola", {144, 256, 81, 25}, {216, 384, 122, 38}, L"Liberation Sans", 13, 20, false, false, false, Role::Button},
    {"CmdUscita", {232, 344, 81, 25}, {348, 516, 122, 38}, L"Liberation Sans", 13, 20, false, false, false, Role::Button},
    {"TxtPeso", {216, 88, 57, 17}, {324, 132, 86, 26}, L"Liberation Sans", 11, 17, false, false, true, Role::Box},
    {"Label5", {24, 64, 313, 20}, {36, 96, 470, 30}, L"Liberation Sans", 11, 17, false, false, true, Role::Highlight},
    {"LBLIntestazione2", {24, 32, 313, 20}, {36, 48, 470, 30}, L"EB Garamond", 19, 29, true, false, true, Role::Highlight},
    {"LBLFormula2", {240, 216, 33, 17}, {360, 324, 50, 26}, L"Liberation Sans", 13, 20, false, false, false, Role::Desktop},
    {nullptr, {}, {}, nullptr, 0, 0, false, false, false, Role::Box},  // Line5
    {"Label3", {208, 184, 121, 17}, {312, 276, 182, 26}, L"Liberation Sans", 13, 20, false, false, false, Role::Desktop},
    {nullptr, {}, {}, nullptr, 0, 0, false, false, false, Role::Box},  // Line4
    {nullptr, {}, {}, nullptr, 0, 0, false, false, false, Role::Box},  // Line3
    {nullptr, {}, {}, nullptr, 0, 0, false, false, false, Role::Box},  // Line2
    {nullptr, {}, {}, nullptr, 0, 0, false, false, false, Role::Box},  // Line1
    {"LBLFormula", {48, 192, 121, 17}, {72, 288, 182, 26}, L"Liberation Sans", 13, 20, false, false, false, Role::Desktop},
    {"LBLFattore", {80, 296, 129, 17}, {120, 444, 194, 26}, L"Liberation Serif", 16, 24, false, true, false, Role::Desktop},
    {"LBLAltezza", {88, 128, 121, 17}, {132, 192, 182, 26}, L"Liberation Sans", 13, 20, false, false, false, Role::Desktop},
    {"Label1", {112, 400, 141, 23}, {168, 600, 212, 35}, L"DejaVu Sans", 13, 20, false, true, false, Role::Highlight},
    // "Versione 1.2" in DejaVu Sans Bold is 141.6 pixels wide at 20 pixels, more than its 140
    // (the fonts' advance widths): the fit rule takes it a quarter point down, to 19.
    {"Label2", {128, 376, 93, 23}, {192, 564, 140, 35}, L"DejaVu Sans", 13, 19, true, false, false, Role::Highlight},
    {"LBLPeso", {88, 88, 121, 17}, {132, 132, 182, 26}, L"Liberation Sans", 13, 20, false, false, false, Role::Desktop},
    {"LBLIntestazione", {24, 8, 313, 20}, {36, 12, 470, 30}, L"EB Garamond", 19, 29, true, false, true, Role::Highlight},
};
// clang-format on

// Wine's default colours (a fresh prefix): highlight 48 150 250, desktop 37 111 149, face 245
// 245 245. The highlight reads at 2.80:1 on the face, so it is darkened in tenths towards black
// until it reaches 4.5:1: 43 135 225, 39 122 203, 35 110 183 (4.83:1). The desktop colour reads
// at 5.09:1 already.
constexpr COLORREF kHighlightText = RGB(35, 110, 183);
constexpr COLORREF kDesktopText = RGB(37, 111, 149);

// The flat lines' ends in client pixels: (x1, y, x2).
struct FlatLine {
    const char* name;
    int x1, y, x2;
};
const std::map<UINT, std::vector<FlatLine>> kFlatLines = {
    {96, {{"Line3", 192, 168, 312}, {"Line5", 200, 208, 312}, {"Line4", 168, 192, 176}}},
    {144, {{"Line3", 288, 252, 468}, {"Line5", 300, 312, 468}, {"Line4", 252, 288, 264}}},
};

class WindowFactsTest : public ::testing::TestWithParam<UINT> {
  protected:
    void SetUp() override {
        window_ = quarnelo_.Handle();
        const UINT dpi = GetParam();
        RECT suggested = {0, 0, 800, 800};
        SendMessageW(window_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
    }

    HWND Control(std::size_t index) const { return GetDlgItem(window_, 100 + int(index)); }

    velandra::win32::Quarnelo quarnelo_{GetModuleHandleW(nullptr)};
    HWND window_ = nullptr;
};

TEST_P(WindowFactsTest, EveryControlHasItsPlaceFontAndAlignment) {
    const bool high = GetParam() == 144;
    for (std::size_t i = 0; i < std::size(kFacts); ++i) {
        const Fact& fact = kFacts[i];
        if (fact.name == nullptr) continue;
        SCOPED_TRACE(fact.name);
        HWND control = Control(i);
        ASSERT_NE(control, nullptr);
        RECT box;
        GetWindowRect(control, &box);
        MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&box), 2);
        EXPECT_EQ((Place{box.left, box.top, box.right - box.left, box.bottom - box.top}),
                  high ? fact.at144 : fact.at96);

        LOGFONTW font = {};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        EXPECT_STREQ(font.lfFaceName, fact.face);
        EXPECT_EQ(-font.lfHeight, high ? fact.height144 : fact.height96);
        EXPECT_EQ(font.lfWeight, fact.bold ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(font.lfItalic != 0, fact.italic);

        const LONG style = GetWindowLongW(control, GWL_STYLE);
        if (fact.role == Role::Box) {
            EXPECT_EQ((style & ES_CENTER) != 0, fact.centred);
            // No limit on what a box holds: the most an edit control can.
            EXPECT_EQ(SendMessageW(control, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
        } else if (fact.role != Role::Button) {
            EXPECT_EQ((style & SS_CENTER) != 0, fact.centred);
        }
    }
}

TEST_P(WindowFactsTest, EachLabelTakesTheColourOfItsRole) {
    HDC dc = CreateCompatibleDC(nullptr);
    for (std::size_t i = 0; i < std::size(kFacts); ++i) {
        const Fact& fact = kFacts[i];
        if (fact.name == nullptr || (fact.role != Role::Highlight && fact.role != Role::Desktop)) {
            continue;
        }
        SCOPED_TRACE(fact.name);
        SendMessageW(window_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Control(i)));
        EXPECT_EQ(GetTextColor(dc), fact.role == Role::Highlight ? kHighlightText : kDesktopText);
    }
    DeleteDC(dc);
}

TEST_P(WindowFactsTest, TheFlatLinesAreInkedAsWideAsTheResolutionAsks) {
    const UINT dpi = GetParam();
    const int width = dpi == 144 ? 2 : 1;
    RECT client;
    GetClientRect(window_, &client);
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ previous = SelectObject(dc, canvas);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    SendMessageW(window_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    const auto inked = [&](int x, int y) { return GetPixel(dc, x, y) == kDesktopText; };
    for (const FlatLine& line : kFlatLines.at(dpi)) {
        SCOPED_TRACE(line.name);
        // GDI leaves out a line's last pixel: each end is inked within one pixel.
        EXPECT_TRUE(inked(line.x1, line.y) || inked(line.x1 + 1, line.y));
        EXPECT_TRUE(inked(line.x2, line.y) || inked(line.x2 - 1, line.y));
        const int middle = (line.x1 + line.x2) / 2;
        int rows = 0;
        for (int y = line.y - 4; y <= line.y + 4; ++y) rows += inked(middle, y) ? 1 : 0;
        EXPECT_EQ(rows, width);
        EXPECT_FALSE(inked(line.x2 + 2, line.y));
    }
    SelectObject(dc, previous);
    DeleteObject(canvas);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
}

INSTANTIATE_TEST_SUITE_P(Dpi, WindowFactsTest, ::testing::Values(96u, 144u));

// What the message box shows, read as it opens (a hook on this thread sees it activate) and then
// answered with its OK.
struct MessageSeen {
    std::wstring title, text;
    int buttons = 0;
    bool informationIcon = false;
};
MessageSeen seen;
HHOOK hook = nullptr;

LRESULT CALLBACK WatchMessage(int code, WPARAM wParam, LPARAM lParam) {
    wchar_t text[256] = {};
    if (code == HCBT_ACTIVATE && GetClassNameW(reinterpret_cast<HWND>(wParam), text, 256) > 0 &&
        lstrcmpW(text, L"#32770") == 0) {
        HWND dialog = reinterpret_cast<HWND>(wParam);
        GetWindowTextW(dialog, text, 256);
        seen.title = text;
        for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t kind[32] = {};
            GetClassNameW(child, kind, 32);
            const LONG style = GetWindowLongW(child, GWL_STYLE);
            if (lstrcmpiW(kind, L"Button") == 0) ++seen.buttons;
            if (lstrcmpiW(kind, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON) {
                seen.informationIcon =
                    reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) ==
                    LoadIconW(nullptr, IDI_INFORMATION);
            } else if (lstrcmpiW(kind, L"Static") == 0 && GetWindowTextW(child, text, 256) > 0) {
                seen.text = text;
            }
        }
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    }
    return CallNextHookEx(hook, code, wParam, lParam);
}

TEST(Message, IsAnInformationBoxWithItsTitleTextAndOneButton) {
    velandra::win32::Quarnelo quarnelo(GetModuleHandleW(nullptr));
    hook = SetWindowsHookExW(WH_CBT, WatchMessage, nullptr, GetCurrentThreadId());
    quarnelo.ShowInfoMessage("Il valore del peso deve essere maggiore di zero", "Attenzione !!!");
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(seen.title, L"Attenzione !!!");
    EXPECT_EQ(seen.text, L"Il valore del peso deve essere maggiore di zero");
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_TRUE(seen.informationIcon);
}

// A button's text keeps four pixels (at 96 dpi) clear on each side: a text that needs all but
// one pixel of the button less both margins is shrunk, one that fits them exactly is not.
TEST(ButtonFit, KeepsTheMarginOnBothSides) {
    using velandra::ui::Font;
    using velandra::ui::Kind;
    const std::wstring text = L"Calcola";
    const auto described = [&](int buttonWidth) {
        HFONT font = velandra::win32::CreateFittingFont(Font::Sans, Kind::PushButton,
                                                        {buttonWidth, 25}, text, 96);
        LOGFONTW logical = {};
        GetObjectW(font, sizeof logical, &logical);
        DeleteObject(font);
        return logical;
    };
    // The text's width in the font a wide button gives it, measured here with its overhang.
    LOGFONTW full = described(1000);
    ASSERT_EQ(full.lfHeight, -13);
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontIndirectW(&full);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE needed = {};
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &needed);
    ABC last = {};
    GetCharABCWidthsW(screen, text.back(), text.back(), &last);
    needed.cx += last.abcC < 0 ? -last.abcC : 0;  // an overhang past the last letter counts
    SelectObject(screen, previous);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);

    EXPECT_EQ(described(needed.cx + 8).lfHeight, -13);
    EXPECT_GT(described(needed.cx + 7).lfHeight, -13);
}

// Wine's accessibility property service keeps nothing, so this process registers its own, which
// records what the window sets: for each window and property, the text.
class RecordingPropertyService final : public IAccPropServices, public IClassFactory {
  public:
    std::map<std::pair<HWND, std::wstring>, std::wstring> set;

    HRESULT WINAPI QueryInterface(REFIID iid, void** object) override {
        if (iid == IID_IUnknown || iid == IID_IAccPropServices) {
            *object = static_cast<IAccPropServices*>(this);
        } else if (iid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG WINAPI AddRef() override { return 2; }
    ULONG WINAPI Release() override { return 1; }
    HRESULT WINAPI CreateInstance(IUnknown*, REFIID iid, void** object) override {
        return QueryInterface(iid, object);
    }
    HRESULT WINAPI LockServer(BOOL) override { return S_OK; }

    HRESULT WINAPI SetHwndPropStr(HWND hwnd, DWORD, DWORD, MSAAPROPID property,
                                  LPCWSTR text) override {
        const std::wstring kind = property == PROPID_ACC_NAME          ? L"name"
                                  : property == PROPID_ACC_DESCRIPTION ? L"description"
                                                                       : L"other";
        set[{hwnd, kind}] = text;
        return S_OK;
    }

    HRESULT WINAPI SetPropValue(const BYTE*, DWORD, MSAAPROPID, VARIANT) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetPropServer(const BYTE*, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                 AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearProps(const BYTE*, DWORD, const MSAAPROPID*, int) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetHwndProp(HWND hwnd, DWORD, DWORD, MSAAPROPID property,
                               VARIANT value) override {
        // UI Automation's LiveSetting, by its GUID.
        const GUID live = {
            0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
        if (property == live && value.vt == VT_I4) {
            set[{hwnd, L"live"}] = value.lVal == 1 ? L"polite" : std::to_wstring(value.lVal);
        }
        return S_OK;
    }
    HRESULT WINAPI SetHwndPropServer(HWND, DWORD, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                     AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearHwndProps(HWND, DWORD, DWORD, const MSAAPROPID*, int) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ComposeHwndIdentityString(HWND, DWORD, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI DecomposeHwndIdentityString(const BYTE*, DWORD, HWND*, DWORD*, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI SetHmenuProp(HMENU, DWORD, MSAAPROPID, VARIANT) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropStr(HMENU, DWORD, MSAAPROPID, LPCWSTR) override { return E_NOTIMPL; }
    HRESULT WINAPI SetHmenuPropServer(HMENU, DWORD, const MSAAPROPID*, int, IAccPropServer*,
                                      AnnoScope) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ClearHmenuProps(HMENU, DWORD, const MSAAPROPID*, int) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI ComposeHmenuIdentityString(HMENU, DWORD, BYTE**, DWORD*) override {
        return E_NOTIMPL;
    }
    HRESULT WINAPI DecomposeHmenuIdentityString(const BYTE*, DWORD, HMENU*, DWORD*) override {
        return E_NOTIMPL;
    }
};

// The live-region changes the window tells of, by window, as a screen reader hears them.
std::vector<HWND> liveChanges;

void CALLBACK RecordLiveChange(HWINEVENTHOOK, DWORD, HWND window, LONG, LONG, DWORD, DWORD) {
    liveChanges.push_back(window);
}

TEST(ScreenReaders, EachBoxAndCaptionIsNamedEachBoxDescribedAndEachResultAnnounced) {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    RecordingPropertyService service;
    DWORD cookie = 0;
    ASSERT_EQ(CoRegisterClassObject(CLSID_AccPropServices, static_cast<IClassFactory*>(&service),
                                    CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie),
              S_OK);
    {
        velandra::win32::Quarnelo quarnelo(GetModuleHandleW(nullptr));
        const auto said = [&](std::size_t index, const wchar_t* kind) {
            const auto it =
                service.set.find({GetDlgItem(quarnelo.Handle(), 100 + int(index)), kind});
            return it == service.set.end() ? std::wstring(L"(nothing)") : it->second;
        };
        const std::wstring hint = L"Utilizzare il punto come separatore dei decimali";
        // Boxes and their captions by creation index: TxtPeso 5 and LBLPeso 20, TxtAltezza 1
        // and LBLAltezza 17, TxtVelandra 0 and LBLFattore 16; LBLFormula 15.
        EXPECT_EQ(said(5, L"name"), L"Peso in chilogrammi");
        EXPECT_EQ(said(5, L"description"), hint);
        EXPECT_EQ(said(20, L"name"), L"Peso in chilogrammi");
        EXPECT_EQ(said(1, L"name"), L"Altezza in centimetri");
        EXPECT_EQ(said(1, L"description"), hint);
        EXPECT_EQ(said(17, L"name"), L"Altezza in centimetri");
        EXPECT_EQ(said(0, L"name"), L"Risultato: superficie corporea in metri quadrati");
        EXPECT_EQ(said(0, L"description"), L"Calcolata con la formula di Mosteller");
        EXPECT_EQ(said(16, L"name"), L"Risultato: superficie corporea in metri quadrati");
        EXPECT_EQ(said(15, L"name"),
                  L"Formula utilizzata: radice quadrata di (peso per altezza) diviso 3600");

        // The result box is a polite live region, changed at each result, the same one again
        // too; not when Cancella empties it, nor when a value is refused.
        EXPECT_EQ(said(0, L"live"), L"polite");
        HWINEVENTHOOK events =
            SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                            RecordLiveChange, GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        const auto press = [&](int index) {
            HWND button = GetDlgItem(quarnelo.Handle(), 100 + index);
            SendMessageW(quarnelo.Handle(), WM_COMMAND, MAKEWPARAM(100 + index, BN_CLICKED),
                         reinterpret_cast<LPARAM>(button));
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
        };
        // By creation index: CmdCancella 2, CmdCalcola 3.
        SetWindowTextW(GetDlgItem(quarnelo.Handle(), 105), L"70");
        SetWindowTextW(GetDlgItem(quarnelo.Handle(), 101), L"170");
        for (int i = 0; i < 3; ++i) press(3);
        const std::vector<HWND> resultBox(3, GetDlgItem(quarnelo.Handle(), 100));
        EXPECT_EQ(liveChanges, resultBox);
        press(2);
        hook = SetWindowsHookExW(WH_CBT, WatchMessage, nullptr, GetCurrentThreadId());
        press(3);
        UnhookWindowsHookEx(hook);
        // Both emptied values refused, the height's message the last.
        EXPECT_EQ(seen.text, L"Il valore dell'altezza deve essere maggiore di zero");
        EXPECT_EQ(liveChanges, resultBox);
        UnhookWinEvent(events);
    }
    CoRevokeClassObject(cookie);
    CoUninitialize();
}

}  // namespace
