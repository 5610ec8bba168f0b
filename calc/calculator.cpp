#include "calc.h"

namespace velandra {

std::string_view NameOf(BoxId box) {
    switch (box) {
        case BoxId::TxtPeso:
            return "TxtPeso";
        case BoxId::TxtAltezza:
            return "TxtAltezza";
        case BoxId::TxtVelandra:
            break;
    }
    return "TxtVelandra";
}

void Calculator::OnCalcola() {
    // Both boxes are read before either value is judged.
    peso_ = TextToNumber(view_.GetText(BoxId::TxtPeso));
    altezza_ = TextToNumber(view_.GetText(BoxId::TxtAltezza));

    if (peso_ > 0 && altezza_ > 0) {
        bsa_ = BodySurfaceArea(peso_, altezza_);
        view_.SetText(BoxId::TxtVelandra, NumberToText(bsa_));
    }
    // Separate tests, not an else: with both values unusable the user hears of each in turn.
    if (peso_ <= 0) view_.ShowInfoMessage(std::string(kPesoMessage), std::string(kMessageTitle));
    if (altezza_ <= 0) {
        view_.ShowInfoMessage(std::string(kAltezzaMessage), std::string(kMessageTitle));
    }
}

void Calculator::OnCancella() {
    const std::string blank(kClearedBoxText);
    view_.SetText(BoxId::TxtPeso, blank);
    view_.SetText(BoxId::TxtAltezza, blank);
    view_.SetText(BoxId::TxtVelandra, blank);
}

void Calculator::OnUscita() {
    view_.EndProgram();
}

}  // namespace velandra
