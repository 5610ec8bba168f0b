// The calculation core of Velandra: number/text conversions, the body surface area formula and
// the three commands behind the window's buttons. It knows the window only through FormView and
// uses nothing but the C++ standard library.
#pragma once

#include <string>
#include <string_view>

namespace velandra {

// The three text boxes the commands read and write.
enum class BoxId { TxtPeso, TxtAltezza, TxtVelandra };

// A box's name, as the window names its element: "TxtPeso", "TxtAltezza", "TxtVelandra".
std::string_view NameOf(BoxId box);

// What the commands need from the window. Texts are UTF-8.
class FormView {
  public:
    virtual ~FormView() = default;

    virtual std::string GetText(BoxId box) const = 0;
    // Replaces the whole text of the box.
    virtual void SetText(BoxId box, const std::string& text) = 0;
    // Modal information message with a single OK button; returns once it is dismissed.
    virtual void ShowInfoMessage(const std::string& prompt, const std::string& title) = 0;
    // Ends the program; no further command runs.
    virtual void EndProgram() = 0;
};

// Reads the number at the start of a text, whatever the process locale:
// leading blanks (space, tab, line feed), an optional + or -, then digits with at most one point
// (".5" is one half). Reading stops at the first character that cannot continue the number and
// the rest is ignored, so "72,5" reads as 72. A text with no digit reads as 0.
// The value is the correctly rounded double of the decimal read, in time linear in the text.
// - An exponent is not recognised: "1E3" reads as 1.
// - Blanks between digits end the number: "7 0" reads as 7.
// - No hexadecimal or octal prefixes: "0x1A" reads as 0, "017" as 17.
// - A magnitude beyond the largest double, or too small to tell from zero, reads as 0.
double TextToNumber(std::string_view text);

// The decimal separator of the user's regional settings. On Windows, the one of the user's
// Region settings; elsewhere the numeric convention of the locale named by LC_ALL, else
// LC_NUMERIC, else LANG, and "." when none is set or the locale is not installed.
std::string RegionalDecimalSeparator();

// Writes a value rounded to 15 significant digits, without trailing zeros in the fraction and
// without the separator when no fraction is left ("2"), with no blanks or thousands separators.
// Magnitudes below 1e-4 or from 1e15 up take an exponent form: "1.5e-05", "2.5e+20".
std::string NumberToText(double value, std::string_view decimalSeparator);
// The same, with the regional decimal separator read once per process.
std::string NumberToText(double value);

// Mosteller's body surface area in m² from weight in kg and height in cm, both > 0:
// sqrt(peso × altezza / 3600). Where that product or quotient would leave the normal range of a
// double, the same quantity is computed on exactly rescaled operands so the result stays right.
double BodySurfaceArea(double peso, double altezza);

// The commands behind the window's three buttons, with the values they keep between clicks.
class Calculator {
  public:
    explicit Calculator(FormView& view) : view_(view) {}

    // Reads both boxes, then writes the body surface area to TxtVelandra or reports each value
    // that is not greater than zero, weight first.
    void OnCalcola();
    // Leaves a single space in each of the three boxes.
    void OnCancella();
    // Ends the program.
    void OnUscita();

    double Peso() const { return peso_; }
    double Altezza() const { return altezza_; }
    double Bsa() const { return bsa_; }

  private:
    FormView& view_;
    double peso_ = 0.0;
    double altezza_ = 0.0;
    double bsa_ = 0.0;
};

// The texts the commands show.
inline constexpr std::string_view kMessageTitle = "Attenzione !!!";
inline constexpr std::string_view kPesoMessage = "Il valore del peso deve essere maggiore di zero";
inline constexpr std::string_view kAltezzaMessage =
    "Il valore dell'altezza deve essere maggiore di zero";
inline constexpr std::string_view kClearedBoxText = " ";

}  // namespace velandra
