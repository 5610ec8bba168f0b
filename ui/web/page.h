// The page the web edition draws on, as C++ calls: each one a few lines of JavaScript on the DOM
// of index.html, which the build has written with the form's elements in place. What to show and
// when is decided by the callers.
#pragma once

#include <string>
#include <string_view>

#include "appearance.h"
#include "form.h"
#include "form_metrics.h"

namespace velandra::web::page {

// Scales the window and every element in it: one CSS pixel at scale 1 becomes `scale` pixels.
void ScaleWindow(double scale);

// Whether the pointer is coarse (a finger).
bool CoarsePointer();
// The room the page has, in CSS pixels. Reading it lays the page out.
struct Viewport {
    double width, height;
};
Viewport CurrentViewport();
// Clicks on the element call velandra_command(command), one command at a time.
void OnClick(std::string_view name, int command);
// Tab from the last element of the form leads back to the first; Shift+Tab the other way.
void CycleFocus();
// Calls velandra_restyle when the display changes (system or forced colours, zoom, the
// viewport's size or the kind of pointer), and
// velandra_fit_texts once the form's fonts have loaded; the page is then marked ready
// (data-velandra="ready" on the root element).
void WatchDisplay();
// A label's or button's text at another size than the style sheet's, or at the sheet's again.
void SetFontSize(std::string_view name, double points);
void ClearFontSize(std::string_view name);
// The highlighted labels and the caption bars in the readable shades of the system highlight
// that the page's head works out (before the first frame, and again at each call).
void FollowHighlights();
// A click on a box's caption puts the focus in the box, as a label does.
void FocusBoxOnCaptionClick(std::string_view box, std::string_view caption);

// Whether the user's own colours are forced on every page (Windows high contrast).
bool ForcedColours();
double DevicePixelRatio();

// The ink of a label's or button's text at the given size, and the area it is drawn in, both in
// CSS pixels from the element's top-left corner, measured with the font the browser resolves.
struct TextMeasure {
    ui::Edges ink;
    ui::Edges area;
};
TextMeasure MeasureText(std::string_view name, double points);

// The drawn lines, in device pixels of the formula's canvas, each `width` device pixels wide.
// The canvas takes the place of the lines the page first shows.
void ClearLines(int width, int height, double devicePixelRatio);
void DrawLine(const ui::Segment& line, int width);

std::string Text(std::string_view box);
void SetText(std::string_view box, std::string_view text);
// Tells screen readers, politely, without moving the focus; an empty message withdraws the last.
void Announce(std::string_view message);
// A modal message with the information icon and one OK button; returns once it is dismissed.
void ShowMessage(std::string_view prompt, std::string_view title);
// Closes the window where the browser allows it, else leaves the page in a closed state that
// takes no input and holds none of the values.
void Close(std::string_view closedNote);

}  // namespace velandra::web::page
