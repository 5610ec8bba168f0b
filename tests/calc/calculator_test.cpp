#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "calc.h"
#include "fake_view.h"

namespace velandra {
namespace {

using testing::FakeView;
using Story = std::vector<std::string>;

const std::string kReadBoth[] = {"GetText TxtPeso", "GetText TxtAltezza"};
const std::string kPesoWarning =
    "ShowInfoMessage [Il valore del peso deve essere maggiore di zero] [Attenzione !!!]";
const std::string kAltezzaWarning =
    "ShowInfoMessage [Il valore dell'altezza deve essere maggiore di zero] [Attenzione !!!]";

// A result as the user's regional settings write it.
std::string Regional(std::string withPoint) {
    const auto point = withPoint.find('.');
    if (point != std::string::npos) withPoint.replace(point, 1, RegionalDecimalSeparator());
    return withPoint;
}

Story ReadThen(Story rest) {
    rest.insert(rest.begin(), std::begin(kReadBoth), std::end(kReadBoth));
    return rest;
}

struct Click {
    std::string peso;
    std::string altezza;
    Story story;  // after both boxes are read
};

void PrintTo(const Click& click, std::ostream* out) {
    *out << "peso \"" << click.peso.substr(0, 40) << "\", altezza \"" << click.altezza.substr(0, 40)
         << '"';
}

class CalcolaTest : public ::testing::TestWithParam<Click> {};

TEST_P(CalcolaTest, ReadsBothBoxesThenAnswers) {
    FakeView view;
    view.texts[BoxId::TxtPeso] = GetParam().peso;
    view.texts[BoxId::TxtAltezza] = GetParam().altezza;
    Calculator calculator(view);

    calculator.OnCalcola();

    EXPECT_EQ(view.calls, ReadThen(GetParam().story));
}

const std::string kTen200 = "1" + std::string(200, '0');
const std::string kTenMinus200 = "0." + std::string(199, '0') + "1";

INSTANTIATE_TEST_SUITE_P(
    Clicks, CalcolaTest,
    ::testing::Values(
        Click{"70", "170", {"SetText TxtVelandra [" + Regional("1.81811868577262") + "]"}},
        Click{"80", "180", {"SetText TxtVelandra [2]"}},
        Click{" 72.5", "170 ", {"SetText TxtVelandra [" + Regional("1.85030027593121") + "]"}},
        // The comma ends the number: 72,5 is weighed as 72.
        Click{"72,5", "170", {"SetText TxtVelandra [" + Regional("1.84390889145858") + "]"}},
        Click{"", "", {kPesoWarning, kAltezzaWarning}},
        Click{" ", " ", {kPesoWarning, kAltezzaWarning}}, Click{"70", "0", {kAltezzaWarning}},
        Click{"-70", "170", {kPesoWarning}}, Click{"abc", "170", {kPesoWarning}},
        Click{"0", "-1", {kPesoWarning, kAltezzaWarning}},
        // Products beyond the range of a double still give the right area.
        Click{
            kTen200, kTen200, {"SetText TxtVelandra [" + Regional("1.66666666666667e+198") + "]"}},
        Click{kTenMinus200,
              kTenMinus200,
              {"SetText TxtVelandra [" + Regional("1.66666666666667e-202") + "]"}}));

TEST(Calculator, KeepsTheReadValuesAndTheLastComputedArea) {
    FakeView view;
    Calculator calculator(view);
    view.texts = {{BoxId::TxtPeso, "80"}, {BoxId::TxtAltezza, "180"}};
    calculator.OnCalcola();
    ASSERT_EQ(calculator.Bsa(), 2.0);

    view.texts = {{BoxId::TxtPeso, "-5"}, {BoxId::TxtAltezza, "160"}};
    calculator.OnCalcola();

    EXPECT_EQ(calculator.Peso(), -5.0);
    EXPECT_EQ(calculator.Altezza(), 160.0);
    EXPECT_EQ(calculator.Bsa(), 2.0);
}

TEST(Calculator, RejectedCalcolaLeavesTheEarlierResultInPlace) {
    FakeView view;
    Calculator calculator(view);
    view.texts = {{BoxId::TxtPeso, "80"}, {BoxId::TxtAltezza, "180"}};
    calculator.OnCalcola();
    view.texts[BoxId::TxtPeso] = "";
    view.calls.clear();

    calculator.OnCalcola();

    EXPECT_EQ(view.calls, ReadThen({kPesoWarning}));
    EXPECT_EQ(view.texts[BoxId::TxtVelandra], "2");
}

TEST(Calculator, UsableCalcolaReplacesWhateverTheResultBoxHeld) {
    FakeView view;
    Calculator calculator(view);
    view.texts = {{BoxId::TxtPeso, "80"},
                  {BoxId::TxtAltezza, "180"},
                  {BoxId::TxtVelandra, "typed by the user 1.5"}};

    calculator.OnCalcola();

    EXPECT_EQ(view.texts[BoxId::TxtVelandra], "2");
}

TEST(Calculator, CancellaLeavesOneSpaceInEachBoxAndKeepsTheValues) {
    FakeView view;
    Calculator calculator(view);
    view.texts = {{BoxId::TxtPeso, "80"}, {BoxId::TxtAltezza, "180"}};
    calculator.OnCalcola();
    view.calls.clear();

    calculator.OnCancella();

    EXPECT_EQ(view.calls,
              (Story{"SetText TxtPeso [ ]", "SetText TxtAltezza [ ]", "SetText TxtVelandra [ ]"}));
    EXPECT_EQ(calculator.Peso(), 80.0);
    EXPECT_EQ(calculator.Altezza(), 180.0);
    EXPECT_EQ(calculator.Bsa(), 2.0);
}

TEST(Calculator, CalcolaRightAfterCancellaWarnsOfBothValues) {
    FakeView view;
    Calculator calculator(view);
    calculator.OnCancella();
    view.calls.clear();

    calculator.OnCalcola();

    EXPECT_EQ(view.calls, ReadThen({kPesoWarning, kAltezzaWarning}));
}

TEST(Calculator, NumbersTypedAroundTheLeftSpaceReadCorrectly) {
    FakeView view;
    Calculator calculator(view);
    calculator.OnCancella();
    view.texts[BoxId::TxtPeso] = " 80";      // typed after the space
    view.texts[BoxId::TxtAltezza] = "180 ";  // typed before it

    calculator.OnCalcola();

    EXPECT_EQ(view.texts[BoxId::TxtVelandra], "2");
}

TEST(Calculator, UscitaOnlyEndsTheProgram) {
    FakeView view;
    Calculator calculator(view);

    calculator.OnUscita();

    EXPECT_EQ(view.calls, Story{"EndProgram"});
}

}  // namespace
}  // namespace velandra
