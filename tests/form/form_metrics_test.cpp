// The rules that size the form on a display, against values worked out by hand.
#include "form_metrics.h"

#include <gtest/gtest.h>

#include <vector>

using namespace velandra::ui;

TEST(FormMetricsTest, TwipsBecomeTheNearestPixel) {
    struct Case {
        int twips;
        double dpi;
        int pixels;
    };
    const Case cases[] = {
        {5415, 96, 361}, {6405, 96, 427}, {5415, 144, 542}, {6405, 144, 641}, {855, 144, 86},
        {255, 120, 21},  {375, 120, 31},  {7, 96, 0},       {8, 96, 1},       {0, 192, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ToPixels(c.twips, c.dpi), c.pixels) << c.twips << " twips at " << c.dpi;
    }
    const Rect box = ToPixels(Rect{3360, 4440, 855, 255}, 144);
    EXPECT_EQ(std::vector<int>({box.left, box.top, box.width, box.height}),
              std::vector<int>({336, 444, 86, 26}));
    const Segment line = ToPixels(Segment{2640, 2880, 2760, 3480}, 96);
    EXPECT_EQ(std::vector<int>({line.x1, line.y1, line.x2, line.y2}),
              std::vector<int>({176, 192, 184, 232}));
}

TEST(FormMetricsTest, LinesScaleToWholeDevicePixels) {
    struct Case {
        double dpi;
        double devicePixelRatio;
        int width;
    };
    const Case cases[] = {
        {96, 1, 1},  {72, 1, 1},  {120, 1, 1},  {144, 1, 2}, {168, 1, 2}, {192, 1, 2},
        {240, 1, 3}, {288, 1, 3}, {96, 1.5, 2}, {96, 2, 2},  {96, 3, 3},  {144, 2, 3},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(LineWidthInDevicePixels(c.dpi, c.devicePixelRatio), c.width)
            << c.dpi << " dpi, ratio " << c.devicePixelRatio;
    }
}

TEST(FormMetricsTest, ContentScalesInHundredthsToFillItsSpaceWhole) {
    struct Case {
        double availableWidth, availableHeight, width, height, scale;
    };
    // A window 361 x 456 on a phone upright and sideways, a tablet, a desktop screen; a space
    // that fits it exactly; one too small for any scale at all.
    const Case cases[] = {
        {358, 738, 361, 456, 0.99},   {738, 358, 361, 456, 0.78}, {1022, 766, 361, 456, 1.67},
        {1920, 1080, 361, 456, 2.36}, {361, 456, 361, 456, 1},    {1, 1, 361, 456, 0.01},
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(ScaleToFill(c.availableWidth, c.availableHeight, c.width, c.height),
                         c.scale)
            << c.availableWidth << " x " << c.availableHeight;
    }
}

TEST(FormMetricsTest, ATextShrinksInQuarterPointsJustUntilItFits) {
    // A text 10 pixels wide per point, in 98 pixels: 9.75 points is the largest that fits.
    std::vector<double> tried;
    const auto fits = [&](double points) {
        tried.push_back(points);
        return points * 10 <= 98;
    };
    EXPECT_EQ(FittingPointSize(14.25, fits), 9.75);
    EXPECT_EQ(tried.front(), 14.25);
    EXPECT_EQ(tried.back(), 9.75);

    // Reached only in quarter points: a half-point step from 9.75 passes 9.5 by.
    EXPECT_EQ(FittingPointSize(9.75, [](double points) { return points <= 9.5; }), 9.5);

    EXPECT_EQ(FittingPointSize(8.25, [](double) { return true; }), 8.25);
    EXPECT_EQ(FittingPointSize(12, [](double) { return false; }), 6);
}
