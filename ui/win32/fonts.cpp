#include "fonts.h"

#include <cmath>
#include <map>
#include <string_view>

#include "appearance.h"
#include "form_metrics.h"
#include "text.h"

namespace velandra::win32 {
namespace {

// A push button's text keeps clear of its three-dimensional edge and focus rectangle.
constexpr int kButtonMargin = 4;

// The resources that hold the carried fonts (resources.rc), and the family they give for the
// family the form names.
constexpr int kCarriedFontResources[] = {2, 3};
constexpr std::wstring_view kCarriedFor = L"Garamond";
constexpr std::wstring_view kCarriedFamily = L"EB Garamond";
bool carriedLoaded = false;

int CALLBACK NoteFaceFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

// Whether a family of that exact name is installed; the font mapper would silently give another.
// Each name is looked up once: the form asks for the same few families for every element.
bool Installed(const std::wstring& family) {
    static std::map<std::wstring, bool> known;
    if (const auto it = known.find(family); it != known.end()) return it->second;
    if (family.empty() || family.size() >= LF_FACESIZE) return known[family] = false;
    LOGFONTW wanted = {};
    wanted.lfCharSet = DEFAULT_CHARSET;
    family.copy(wanted.lfFaceName, family.size());
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, NoteFaceFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return known[family] = found;
}

std::wstring FaceName(const ui::FontFace& face, UINT dpi) {
    for (std::string_view family : {face.family, face.substitute}) {
        const std::wstring name = Widen(family);
        if (Installed(name)) return name;
    }
    // Fonts loaded for the process alone are not enumerated, but found by name.
    if (carriedLoaded && Widen(face.family) == kCarriedFor) return std::wstring(kCarriedFamily);
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi);
    return metrics.lfMessageFont.lfFaceName;
}

HFONT Create(const std::wstring& face, const ui::FontFace& style, double points, UINT dpi) {
    const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
    return CreateFontW(height, 0, 0, 0, style.bold ? FW_BOLD : FW_NORMAL, style.italic, FALSE,
                       FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

// The width and height the text takes in the font, an italic's overhang past its last letter
// included.
SIZE Measure(HFONT font, const std::wstring& text) {
    HDC screen = GetDC(nullptr);
    HGDIOBJ previous = SelectObject(screen, font);
    SIZE size = {};
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
    ABC last = {};
    if (!text.empty() && GetCharABCWidthsW(screen, text.back(), text.back(), &last) &&
        last.abcC < 0) {
        size.cx -= last.abcC;
    }
    SelectObject(screen, previous);
    ReleaseDC(nullptr, screen);
    return size;
}

}  // namespace

CarriedFonts::CarriedFonts(HINSTANCE instance) {
    for (int id : kCarriedFontResources) {
        HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(10));
        HGLOBAL data = resource != nullptr ? LoadResource(instance, resource) : nullptr;
        if (data == nullptr) continue;
        DWORD faces = 0;
        HANDLE font = AddFontMemResourceEx(LockResource(data), SizeofResource(instance, resource),
                                           nullptr, &faces);
        if (font != nullptr) loaded_.push_back(font);
    }
    carriedLoaded = !loaded_.empty();
}

CarriedFonts::~CarriedFonts() {
    for (HANDLE font : loaded_) RemoveFontMemResourceEx(font);
    carriedLoaded = false;
}

HFONT CreateFittingFont(ui::Font role, ui::Kind kind, SIZE area, const std::wstring& text,
                        UINT dpi) {
    const ui::FontFace style = ui::FaceOf(role);
    const std::wstring face = FaceName(style, dpi);
    if (kind == ui::Kind::TextBox) return Create(face, style, style.points, dpi);

    const int margin = kind == ui::Kind::PushButton ? MulDiv(kButtonMargin, dpi, 96) : 0;
    const SIZE room = {area.cx - 2 * margin, area.cy};
    const double points = ui::FittingPointSize(style.points, [&](double size) {
        HFONT candidate = Create(face, style, size, dpi);
        const SIZE needed = Measure(candidate, text);
        DeleteObject(candidate);
        return needed.cx <= room.cx;
    });
    return Create(face, style, points, dpi);
}

}  // namespace velandra::win32
