// The readable-colour rule against contrasts and shades worked out by hand.
#include "appearance.h"

#include <gtest/gtest.h>

using namespace velandra::ui;

TEST(AppearanceTest, ContrastFollowsTheWcagFormula) {
    EXPECT_DOUBLE_EQ(ContrastRatio({0, 0, 0}, {255, 255, 255}), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio({255, 255, 255}, {0, 0, 0}), 21.0);
    EXPECT_DOUBLE_EQ(ContrastRatio({48, 140, 198}, {48, 140, 198}), 1.0);
    // #777777 on white is the classic just-too-light grey: 4.48:1.
    EXPECT_NEAR(ContrastRatio({0x77, 0x77, 0x77}, {255, 255, 255}), 4.48, 0.005);
}

TEST(AppearanceTest, AnUnreadableColourIsShadedJustUntilItReads) {
    struct Case {
        Rgb colour;
        Rgb background;
        Rgb readable;
    };
    const Case cases[] = {
        // Already readable: kept.
        {{0, 0, 128}, {240, 240, 240}, {0, 0, 128}},
        // Yellow on white, a tenth darker each step: 230, 207, 186, 167, 150, 135 (3.8:1), 122.
        {{255, 255, 0}, {255, 255, 255}, {122, 122, 0}},
        // Navy on near-black, a tenth lighter each step: ... (121, 121, 187) at 4.1:1, then 4.8:1.
        {{0, 0, 128}, {32, 32, 32}, {134, 134, 194}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Readable(c.colour, c.background), c.readable);
        EXPECT_GE(ContrastRatio(Readable(c.colour, c.background), c.background), 4.5);
    }
}
