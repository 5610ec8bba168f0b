// Prints the texts the form draws in one font role (named as in the Font enumeration), so that a
// label's served font can be cut to the characters of its fixed texts. Built and run on the build
// machine.
#include <iostream>
#include <string_view>

#include "form.h"

namespace {

using velandra::ui::Font;

constexpr std::pair<std::string_view, Font> kRoles[] = {
    {"GaramondBold", Font::GaramondBold},
    {"GaramondItalic", Font::GaramondItalic},
    {"VerdanaBold", Font::VerdanaBold},
    {"VerdanaItalic", Font::VerdanaItalic},
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    for (const auto& [name, role] : kRoles) {
        if (name != argv[1]) continue;
        for (const auto& element : velandra::ui::kElements) {
            if (element.font == role) std::cout << element.text;
        }
        std::cout << '\n';
        return 0;
    }
    return 2;
}
