#include "quarnelo.h"

#include <array>

#include "announcement.h"
#include "appearance.h"
#include "form.h"
#include "form_metrics.h"
#include "frame.h"
#include "page.h"

namespace velandra::web {
namespace {

using ui::Element;

// The buttons, numbered for the page by their place here.
struct CommandButton {
    std::string_view name;
    void (Calculator::*command)();
};
constexpr std::array kCommands = {
    CommandButton{"CmdCalcola", &Calculator::OnCalcola},
    CommandButton{"CmdCancella", &Calculator::OnCancella},
    CommandButton{"CmdUscita", &Calculator::OnUscita},
};

constexpr std::string_view kClosedNote = "Velandra \u00E8 stata chiusa.";

// Under a finger (a phone, a tablet) the window fills the screen, whole, in either orientation;
// under a mouse it keeps 15 twips to the CSS pixel, and the browser's zoom scales it. The
// viewport is read only under a finger: reading it makes the browser lay the page out.
double WindowScale() {
    if (!page::CoarsePointer()) return 1;
    const page::Viewport viewport = page::CurrentViewport();
    return ui::ScaleToFill(viewport.width - 2 * kBorder, viewport.height - 2 * kBorder,
                           ui::ToPixels(ui::kClientWidth, ui::kBaseDpi),
                           ui::ToPixels(ui::kClientHeight, ui::kBaseDpi) + kCaptionHeight);
}

}  // namespace

// The page holds the form's elements, with the focus and whatever a person has typed before the
// program started: the program answers their clicks and keys, and fits them to the display.
Quarnelo::Quarnelo() {
    for (std::size_t i = 0; i < kCommands.size(); ++i) {
        page::OnClick(kCommands[i].name, static_cast<int>(i));
    }
    for (const ui::CaptionedBox& pair : ui::kCaptionedBoxes) {
        page::FocusBoxOnCaptionClick(pair.box, pair.caption);
    }
    page::CycleFocus();
    Restyle();
    page::WatchDisplay();
}

std::string Quarnelo::GetText(BoxId box) const {
    return page::Text(NameOf(box));
}

void Quarnelo::SetText(BoxId box, const std::string& text) {
    page::SetText(NameOf(box), text);
    if (box == BoxId::TxtVelandra) page::Announce(ui::ResultAnnouncement(text));
}

void Quarnelo::ShowInfoMessage(const std::string& prompt, const std::string& title) {
    page::ShowMessage(prompt, title);
}

void Quarnelo::EndProgram() {
    ended_ = true;
    page::Close(kClosedNote);
}

void Quarnelo::Command(int index) {
    if (ended_ || index < 0 || index >= static_cast<int>(kCommands.size())) return;
    (calculator_.*kCommands[static_cast<std::size_t>(index)].command)();
}

void Quarnelo::FitTexts() {
    if (ended_) return;
    for (const Element& element : ui::kElements) {
        if (element.kind != ui::Kind::Label && element.kind != ui::Kind::PushButton) continue;
        const ui::FontFace face = ui::FaceOf(element.font);
        const double points = ui::FittingPointSize(face.points * scale_, [&](double size) {
            const page::TextMeasure measure = page::MeasureText(element.name, size);
            return ui::InkFits(measure.ink, measure.area);
        });
        if (points == face.points * scale_) {
            page::ClearFontSize(element.name);
        } else {
            page::SetFontSize(element.name, points);
        }
    }
}

void Quarnelo::Restyle() {
    if (ended_) return;
    // What is read is read before anything is written: a read after a write makes the browser
    // work out the page's styles again. The highlights, and the lines below, read before they
    // write, and write only what changed; in forced colours the browser's palette stands.
    const double scale = WindowScale();
    const double ratio = page::DevicePixelRatio();
    if (!page::ForcedColours()) page::FollowHighlights();

    if (scale != scale_) {
        // The first layout is fitted once the page's fonts have loaded; a later one, at once.
        const bool started = scale_ != 0;
        scale_ = scale;
        // Under a mouse the style sheet draws the window at scale 1 already.
        if (started || scale != 1) page::ScaleWindow(scale);
        if (started) FitTexts();
    }
    const double dpi = ui::kBaseDpi * scale_;
    const int width = ui::LineWidthInDevicePixels(dpi, ratio);
    page::ClearLines(ui::ToPixels(ui::kClientWidth, dpi), ui::ToPixels(ui::kClientHeight, dpi),
                     ratio);
    for (const Element& element : ui::kElements) {
        if (element.kind == ui::Kind::Line) {
            page::DrawLine(ui::ToPixels(element.line, dpi * ratio), width);
        }
    }
}

}  // namespace velandra::web
