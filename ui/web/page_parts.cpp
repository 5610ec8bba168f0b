// The parts of the page written from the form's table on the build machine, so that the browser
// draws the whole form with its first frame, before the program has started:
//   page_parts --caption    the window's caption, for the document's title and the frame;
//   page_parts --markup     the client area's elements in tab order (the order Tab and screen
//                           readers follow), with what screen readers say of each, and the
//                           formula's lines;
//   page_parts --rules      the style rules that place, size and colour each element at the
//                           window's scale (--unit: one CSS pixel at scale 1), and the scale
//                           that fills a touch screen;
//   page_parts ROLE         the texts the form draws in one font role (named as in the Font
//                           enumeration), so that a label's served font can be cut to the
//                           characters of its fixed texts.
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "appearance.h"
#include "css_font.h"
#include "form.h"
#include "form_metrics.h"
#include "frame.h"

namespace {

using velandra::ui::Element;
using velandra::ui::Font;
using velandra::ui::kElements;
using velandra::ui::Kind;

constexpr double kPixelsPerPoint = 96.0 / 72;

constexpr std::pair<std::string_view, Font> kRoles[] = {
    {"GaramondBold", Font::GaramondBold},
    {"GaramondItalic", Font::GaramondItalic},
    {"VerdanaBold", Font::VerdanaBold},
    {"VerdanaItalic", Font::VerdanaItalic},
};

std::string Escaped(std::string_view text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

// The elements a page shows, in tab-index order.
std::vector<const Element*> InTabOrder() {
    std::vector<const Element*> elements;
    for (const Element& element : kElements) {
        if (element.kind == Kind::Line) continue;
        auto place = elements.end();
        while (place != elements.begin() && (*(place - 1))->tabIndex > element.tabIndex) --place;
        elements.insert(place, &element);
    }
    return elements;
}

// What screen readers are told of an element beside what it shows.
std::string SpokenAttributes(std::string_view name) {
    for (const auto& pair : velandra::ui::kCaptionedBoxes) {
        if (pair.box == name) {
            return " aria-label=\"" + Escaped(pair.accessibleName) + "\" aria-describedby=\"" +
                   std::string(name) + "Description\"";
        }
    }
    if (name == velandra::ui::kFormulaElement) {
        return " role=\"math\" aria-label=\"" + Escaped(velandra::ui::kFormulaReading) + "\"";
    }
    for (std::string_view part : velandra::ui::kFormulaParts) {
        if (part == name) return " aria-hidden=\"true\"";
    }
    return "";
}

void PrintMarkup() {
    const double atScaleOne = velandra::ui::kBaseDpi;
    const auto width = velandra::ui::ToPixels(velandra::ui::kClientWidth, atScaleOne);
    const auto height = velandra::ui::ToPixels(velandra::ui::kClientHeight, atScaleOne);
    // The lines as the program draws them at scale 1 until it draws them itself.
    const int lineWidth = velandra::ui::LineWidthInDevicePixels(atScaleOne, 1);
    const double offset = velandra::ui::LineOffset(lineWidth);
    std::cout << "<svg id=\"FirstLines\" class=\"lines\" aria-hidden=\"true\" viewBox=\"0 0 "
              << width << ' ' << height << "\" stroke-width=\"" << lineWidth
              << "\" stroke-linecap=\"square\"><path d=\"";
    for (const Element& element : kElements) {
        if (element.kind != Kind::Line) continue;
        const auto line = velandra::ui::ToPixels(element.line, atScaleOne);
        std::cout << 'M' << line.x1 + offset << ' ' << line.y1 + offset << 'L' << line.x2 + offset
                  << ' ' << line.y2 + offset;
    }
    std::cout << "\"/></svg>\n";
    // The first box or button holds the focus from the first frame, as in the desktop window.
    const std::vector<const Element*> ordered = InTabOrder();
    const Element* focused = nullptr;
    for (const Element* element : ordered) {
        if (!focused && element->kind != Kind::Label) focused = element;
    }
    for (const Element* element : ordered) {
        const std::string centred = element->align == velandra::ui::Align::Centre ? " centre" : "";
        const std::string id = "id=\"" + std::string(element->name) + "\"";
        const std::string spoken = SpokenAttributes(element->name);
        switch (element->kind) {
            case Kind::TextBox:
                // The full keyboard: a numeric keypad in Italian offers a comma, which ends the
                // number.
                std::cout << "<input " << id << " class=\"box" << centred
                          << "\" type=\"text\" inputmode=\"text\" autocomplete=\"off\" "
                             "spellcheck=\"false\" autocapitalize=\"off\" autocorrect=\"off\""
                          << (element == focused ? " autofocus" : "") << spoken << " value=\""
                          << Escaped(element->text) << "\">\n";
                break;
            case Kind::PushButton:
                std::cout << "<button " << id << " class=\"button" << centred
                          << "\" type=\"button\"" << (element == focused ? " autofocus" : "")
                          << spoken << '>' << Escaped(element->text) << "</button>\n";
                break;
            default:
                std::cout << "<div " << id << " class=\"label" << centred << '"' << spoken << '>'
                          << Escaped(element->text) << "</div>\n";
        }
    }
    for (const auto& pair : velandra::ui::kCaptionedBoxes) {
        std::cout << "<span id=\"" << pair.box << "Description\" class=\"unseen\">"
                  << Escaped(pair.accessibleDescription) << "</span>\n";
    }
}

// A length of the form at the window's scale, rounded to whole pixels as the program rounds it.
std::string Scaled(int twips) {
    std::ostringstream text;
    text << "round(var(--unit) * " << twips * velandra::ui::kBaseDpi / velandra::ui::kTwipsPerInch
         << ", 1px)";
    return text.str();
}

void PrintRules() {
    using velandra::web::kBorder;
    using velandra::web::kCaptionHeight;
    const double width =
        velandra::ui::kClientWidth * velandra::ui::kBaseDpi / velandra::ui::kTwipsPerInch;
    const double height =
        velandra::ui::kClientHeight * velandra::ui::kBaseDpi / velandra::ui::kTwipsPerInch;
    // Under a finger the window fills the screen, in whole hundredths of its size at scale 1.
    std::cout << ":root { --unit: 1px; }\n"
              << "@media (pointer: coarse) { :root { --unit: max(0.01px, round(down, min((100vw - "
              << 2 * kBorder << "px) / " << width << ", (100vh - " << 2 * kBorder << "px) / "
              << height + kCaptionHeight << "), 0.01px)); } }\n"
              << ".client { width: " << Scaled(velandra::ui::kClientWidth)
              << "; height: " << Scaled(velandra::ui::kClientHeight) << "; }\n";
    for (const Element& element : kElements) {
        if (element.kind == Kind::Line) continue;
        const velandra::ui::FontFace face = velandra::ui::FaceOf(element.font);
        std::cout << '#' << element.name << " { left: " << Scaled(element.box.left)
                  << "; top: " << Scaled(element.box.top)
                  << "; width: " << Scaled(element.box.width)
                  << "; height: " << Scaled(element.box.height)
                  << "; font: " << (face.italic ? "italic " : "") << (face.bold ? "bold " : "")
                  << "calc(var(--unit) * " << face.points * kPixelsPerPoint << ") "
                  << velandra::web::CssFamilies(face) << ';';
        // A label's one line of text stands in the middle of its height.
        if (element.kind == Kind::Label) {
            std::cout << " line-height: " << Scaled(element.box.height) << ';';
        }
        // The highlight in the shade the page's head works out, which reads well on the face.
        if (element.colour == velandra::ui::Colour::Highlight) {
            std::cout << " color: var(--highlight-colour, Highlight);";
        }
        std::cout << " }\n";
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string_view argument = argv[1];
    if (argument == "--caption") {
        std::cout << Escaped(velandra::ui::kCaption);
        return 0;
    }
    if (argument == "--markup") {
        PrintMarkup();
        return 0;
    }
    if (argument == "--rules") {
        PrintRules();
        return 0;
    }
    for (const auto& [name, role] : kRoles) {
        if (name != argument) continue;
        for (const auto& element : kElements) {
            if (element.font == role) std::cout << element.text;
        }
        std::cout << '\n';
        return 0;
    }
    return 2;
}
