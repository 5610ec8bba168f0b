// What the window looks like, as data: its caption and size, and every element in creation
// order with its kind, place, text, font, colour, alignment and tab index. Positions and sizes
// are in twips (1/1440 inch) from the top-left corner of the client area.
#pragma once

#include <array>
#include <string_view>

namespace velandra::ui {

enum class Kind { TextBox, PushButton, Label, Line };

enum class Font {
    None,            // lines
    SansSmall,       // MS Sans Serif 8.25
    Sans,            // MS Sans Serif 9.75
    GaramondBold,    // Garamond 14.25 bold
    GaramondItalic,  // Garamond 12 italic
    VerdanaBold,     // Verdana 9.75 bold
    VerdanaItalic,   // Verdana 9.75 italic
};

// Text colour of a label, colour of a line.
enum class Colour {
    Default,    // the platform's colours for that kind of element
    Highlight,  // the selection highlight colour
    Desktop,    // the colour of captions, formula labels and lines
};

enum class Align { Default, Left, Centre };

struct Rect {
    int left, top, width, height;
};

struct Segment {
    int x1, y1, x2, y2;
};

struct Element {
    std::string_view name;
    Kind kind;
    Rect box;               // text boxes, buttons and labels
    Segment line;           // lines
    std::string_view text;  // UTF-8
    Font font;
    Colour colour;
    Align align;
    int tabIndex;  // labels store one too, though they never take the focus
};

constexpr Element Box(std::string_view name, Kind kind, Rect box, std::string_view text, Font font,
                      Colour colour, Align align, int tabIndex) {
    return {name, kind, box, {}, text, font, colour, align, tabIndex};
}

constexpr Element Line(std::string_view name, Segment line) {
    return {name, Kind::Line, {}, line, {}, Font::None, Colour::Desktop, Align::Default, -1};
}

inline constexpr std::string_view kCaption = "Calcolo della Velandra Corporea";
inline constexpr int kClientWidth = 5415;
inline constexpr int kClientHeight = 6405;

// clang-format off
inline constexpr std::array kElements = {
    Box("TxtVelandra",      Kind::TextBox,    {3360, 4440,  855, 255}, "",           Font::SansSmall,      Colour::Default,   Align::Centre,  10),
    Box("TxtAltezza",       Kind::TextBox,    {3240, 1920,  855, 255}, "",           Font::SansSmall,      Colour::Default,   Align::Centre,   9),
    Box("CmdCancella",      Kind::PushButton, { 600, 5160, 1215, 375}, "Cancella",   Font::Sans,           Colour::Default,   Align::Default,  5),
    Box("CmdCalcola",       Kind::PushButton, {2160, 3840, 1215, 375}, "Calcola",    Font::Sans,           Colour::Default,   Align::Default,  4),
    Box("CmdUscita",        Kind::PushButton, {3480, 5160, 1215, 375}, "Uscita",     Font::Sans,           Colour::Default,   Align::Default,  3),
    Box("TxtPeso",          Kind::TextBox,    {3240, 1320,  855, 255}, "",           Font::SansSmall,      Colour::Default,   Align::Centre,   2),
    Box("Label5",           Kind::Label,      { 360,  960, 4695, 300}, "Utilizzare il punto come separatore dei decimali",
                                                                                     Font::SansSmall,      Colour::Highlight, Align::Centre,  16),
    Box("LBLIntestazione2", Kind::Label,      { 360,  480, 4695, 300}, "VELANDRA CORPOREA (BSA)",
                                                                                     Font::GaramondBold,   Colour::Highlight, Align::Centre,  15),
    Box("LBLFormula2",      Kind::Label,      {3600, 3240,  495, 255}, "3600",       Font::Sans,           Colour::Desktop,   Align::Left,    14),
    Line("Line5", {3000, 3120, 4680, 3120}),
    Box("Label3",           Kind::Label,      {3120, 2760, 1815, 255}, "( Peso x Altezza )",
                                                                                     Font::Sans,           Colour::Desktop,   Align::Left,    13),
    Line("Line4", {2640, 2880, 2520, 2880}),
    Line("Line3", {2880, 2520, 4680, 2520}),
    Line("Line2", {2760, 3480, 2880, 2520}),
    Line("Line1", {2640, 2880, 2760, 3480}),
    Box("LBLFormula",       Kind::Label,      { 720, 2880, 1815, 255}, "Formula Utilizzata:",
                                                                                     Font::Sans,           Colour::Desktop,   Align::Left,    12),
    Box("LBLFattore",       Kind::Label,      {1200, 4440, 1935, 255}, "VELANDRA in m\u00B2",
                                                                                     Font::GaramondItalic, Colour::Desktop,   Align::Left,    11),
    Box("LBLAltezza",       Kind::Label,      {1320, 1920, 1815, 255}, "ALTEZZA in  cm  ",
                                                                                     Font::Sans,           Colour::Desktop,   Align::Left,     8),
    Box("Label1",           Kind::Label,      {1680, 6000, 2115, 345}, "By Ozmerel", Font::VerdanaItalic,  Colour::Highlight, Align::Left,     7),
    Box("Label2",           Kind::Label,      {1920, 5640, 1395, 345}, "Versione 1.2",
                                                                                     Font::VerdanaBold,    Colour::Highlight, Align::Left,     6),
    Box("LBLPeso",          Kind::Label,      {1320, 1320, 1815, 255}, "PESO        in  Kg",
                                                                                     Font::Sans,           Colour::Desktop,   Align::Left,     1),
    Box("LBLIntestazione",  Kind::Label,      { 360,  120, 4695, 300}, "CALCOLO DELLA",
                                                                                     Font::GaramondBold,   Colour::Highlight, Align::Centre,   0),
};
// clang-format on

// Each text box with the caption beside it. Screen readers name a box after its caption, so the
// caption and the box both carry the spoken name, and the box a description of what to type.
struct CaptionedBox {
    std::string_view box;
    std::string_view caption;
    std::string_view accessibleName;
    std::string_view accessibleDescription;
};

inline constexpr std::string_view kDecimalPointHint =
    "Utilizzare il punto come separatore dei decimali";

inline constexpr std::array kCaptionedBoxes = {
    CaptionedBox{"TxtPeso", "LBLPeso", "Peso in chilogrammi", kDecimalPointHint},
    CaptionedBox{"TxtAltezza", "LBLAltezza", "Altezza in centimetri", kDecimalPointHint},
    CaptionedBox{"TxtVelandra", "LBLFattore", "Risultato: superficie corporea in metri quadrati",
                 "Calcolata con la formula di Mosteller"},
};

// The drawn formula read aloud, as the name of its caption.
inline constexpr std::string_view kFormulaElement = "LBLFormula";
inline constexpr std::string_view kFormulaReading =
    "Formula utilizzata: radice quadrata di (peso per altezza) diviso 3600";
// The labels that draw the rest of the formula, which its reading already says.
inline constexpr std::array<std::string_view, 2> kFormulaParts = {"Label3", "LBLFormula2"};

// A new result, as a screen reader announces it.
inline constexpr std::string_view kResultAnnouncementBefore = "Superficie corporea: ";
inline constexpr std::string_view kResultAnnouncementAfter = " metri quadrati";

}  // namespace velandra::ui
