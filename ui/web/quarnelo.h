// The window Quarnelo as a web page: the form the page holds, laid out at 96 dpi (one CSS pixel
// is 15 twips) and scaled to fill a touch screen, the commands behind its buttons, and FormView
// over the page.
#pragma once

#include "calc.h"

namespace velandra::web {

class Quarnelo final : public FormView {
  public:
    Quarnelo();

    std::string GetText(BoxId box) const override;
    void SetText(BoxId box, const std::string& text) override;
    void ShowInfoMessage(const std::string& prompt, const std::string& title) override;
    void EndProgram() override;

    // A click on the button with this index in the page's command list.
    void Command(int index);
    // Shrinks each text that does not fit its element; once the page's fonts have loaded.
    void FitTexts();
    // Scale, colours and lines for the display as it is now: on start, and whenever the system
    // colours, forced colours, the device pixel ratio (the browser's zoom), the viewport or the
    // kind of pointer change.
    void Restyle();

  private:
    Calculator calculator_{*this};
    bool ended_ = false;
    double scale_ = 0;  // none yet: the first Restyle scales the form
};

}  // namespace velandra::web
