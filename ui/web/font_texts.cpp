// What the build needs to know of the form's fonts, read from the form's table on the build
// machine:
//   font_texts ROLE       the texts the form draws in one font role (named as in the Font
//                         enumeration), so that a label's served font can be cut to the
//                         characters of its fixed texts;
//   font_texts --cue-rules, --cue-letters
//                         the page's hidden letters, one in each face at each size the form
//                         uses: a style rule for each, and the letters' markup, which have
//                         the browser prepare each face at each size.
#include <algorithm>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "appearance.h"
#include "css_font.h"
#include "form.h"

namespace {

using velandra::ui::Font;
using velandra::ui::kElements;

constexpr std::pair<std::string_view, Font> kRoles[] = {
    {"GaramondBold", Font::GaramondBold},
    {"GaramondItalic", Font::GaramondItalic},
    {"VerdanaBold", Font::VerdanaBold},
    {"VerdanaItalic", Font::VerdanaItalic},
};

// A letter the role's served face is sure to have: the first of its texts (a face may be cut
// to them); Basic Latin where the role has none (a text box's face keeps it).
char LetterOf(Font role) {
    for (const auto& element : kElements) {
        if (element.font != role) continue;
        for (char c : element.text) {
            if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return c;
        }
    }
    return 'A';
}

// Each font role the form's elements use, in the order they first use it.
std::vector<Font> CueRoles() {
    std::vector<Font> roles;
    for (const auto& element : kElements) {
        if (element.font != Font::None &&
            std::find(roles.begin(), roles.end(), element.font) == roles.end()) {
            roles.push_back(element.font);
        }
    }
    return roles;
}

void PrintCueRules() {
    const std::vector<Font> roles = CueRoles();
    for (std::size_t i = 0; i < roles.size(); ++i) {
        const velandra::ui::FontFace face = velandra::ui::FaceOf(roles[i]);
        std::cout << ".font-cue span:nth-child(" << i + 1
                  << ") { font: " << (face.bold ? "bold " : "") << (face.italic ? "italic " : "")
                  << face.points << "pt " << velandra::web::CssFamilies(face) << "; }\n";
    }
}

void PrintCueLetters() {
    for (Font role : CueRoles()) std::cout << "<span>" << LetterOf(role) << "</span>";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string_view argument = argv[1];
    if (argument == "--cue-rules") {
        PrintCueRules();
        return 0;
    }
    if (argument == "--cue-letters") {
        PrintCueLetters();
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
