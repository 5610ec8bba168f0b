// A FormView that keeps the three box texts and records every call it receives, in order, so
// that a test can read back the story of one click.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "calc.h"

namespace velandra::testing {

// The box's name as the window names it; the stories the tests expect spell it out.
inline std::string BoxName(BoxId box) {
    return std::string(NameOf(box));
}

class FakeView : public FormView {
  public:
    std::string GetText(BoxId box) const override {
        calls.push_back("GetText " + BoxName(box));
        const auto it = texts.find(box);
        return it == texts.end() ? std::string() : it->second;
    }
    void SetText(BoxId box, const std::string& text) override {
        calls.push_back("SetText " + BoxName(box) + " [" + text + "]");
        texts[box] = text;
    }
    void ShowInfoMessage(const std::string& prompt, const std::string& title) override {
        calls.push_back("ShowInfoMessage [" + prompt + "] [" + title + "]");
    }
    void EndProgram() override { calls.push_back("EndProgram"); }

    std::map<BoxId, std::string> texts;
    mutable std::vector<std::string> calls;
};

}  // namespace velandra::testing
