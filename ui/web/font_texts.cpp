// Prints every character the form draws in one font role (named as in the Font enumeration), so
// that a label's served font can be cut to its fixed texts. Built and run on the build machine.
#include <iostream>
#include <set>
#include <string>
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
        // Whole UTF-8 sequences, each once: a lead byte with the continuation bytes after it.
        std::set<std::string> characters;
        for (const auto& element : velandra::ui::kElements) {
            if (element.font != role) continue;
            for (std::size_t i = 0; i < element.text.size();) {
                std::size_t length = 1;
                while (i + length < element.text.size() &&
                       (static_cast<unsigned char>(element.text[i + length]) & 0xC0) == 0x80) {
                    ++length;
                }
                characters.insert(std::string(element.text.substr(i, length)));
                i += length;
            }
        }
        for (const std::string& character : characters) std::cout << character;
        std::cout << '\n';
        return 0;
    }
    return 2;
}
