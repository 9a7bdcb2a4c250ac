// Indicator colours: the palette indexes and the activity flip.
#include <gtest/gtest.h>

#include "common/palette.h"
#include "common/shape.h"

namespace {

TEST(Palette, IndicatorIndexesGiveTheClassicColours) {
    EXPECT_EQ(paletteColour(Black), QColor(0, 0, 0));
    EXPECT_EQ(paletteColour(Green), QColor(0, 128, 0));
    EXPECT_EQ(paletteColour(BrightGreen), QColor(0, 255, 0));
    EXPECT_EQ(paletteColour(BrightRed), QColor(255, 0, 0));
}

TEST(Shape, ActivityFlipAlternatesBrightGreenAndGreen) {
    Shape shape;
    EXPECT_EQ(shape.fillColour(), Black);
    shape.flipActivity();
    EXPECT_EQ(shape.fillColour(), BrightGreen);
    shape.flipActivity();
    EXPECT_EQ(shape.fillColour(), Green);
    shape.flipActivity();
    EXPECT_EQ(shape.fillColour(), BrightGreen);

    shape.setFillColour(BrightRed);  // any colour but bright green flips to bright green
    shape.flipActivity();
    EXPECT_EQ(shape.fillColour(), BrightGreen);
}

TEST(Shape, PaintsItsColour) {
    Shape shape;
    shape.resize(16, 16);
    shape.setFillColour(BrightRed);
    const QImage image = shape.grab().toImage();
    EXPECT_EQ(image.pixelColor(8, 8), paletteColour(BrightRed));
}

}  // namespace
