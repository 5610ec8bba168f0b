// The page the web edition draws on, as C++ calls: each one a few lines of JavaScript on the DOM
// of index.html. What to show and when is decided by the callers.
#pragma once

#include <string>
#include <string_view>

#include "appearance.h"
#include "form.h"
#include "form_metrics.h"

namespace velandra::web::page {

// Names the window: the frame's caption and the document's title.
void SetCaption(std::string_view caption);

// Adds an element to the form, after those added before it (the order screen readers and Tab
// follow).
void AddElement(const ui::Element& element);
// Puts an element at its place in the client area, in CSS pixels.
void PlaceElement(std::string_view name, const ui::Rect& place);
// Sizes the client area, in CSS pixels, and scales the frame around it (caption, borders).
void ScaleWindow(double scale, int clientWidth, int clientHeight);

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
void SetFont(std::string_view name, const ui::FontFace& face, double points);
void SetTextColour(std::string_view name, ui::Rgb colour);
// The colour of the caption bars (the window's and the messages'), behind their text.
void SetCaptionColour(ui::Rgb colour);
// Gives a box its spoken name and description; a caption that names a box points to it.
void DescribeBox(std::string_view box, std::string_view caption, std::string_view name,
                 std::string_view description);
// Gives an element a spoken reading in place of what it shows, and hides from screen readers
// the other elements that draw the same thing.
void SetReading(std::string_view name, std::string_view reading);
void HideFromScreenReaders(std::string_view name);
void Focus(std::string_view name);

// A system colour (a CSS keyword such as "Highlight") as the browser resolves it now.
ui::Rgb SystemColour(const char* keyword);
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
