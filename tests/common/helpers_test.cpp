// The shared helpers: text and number conversions, indicator colours.
#include <gtest/gtest.h>

#include "common/hex.h"
#include "common/palette.h"
#include "common/shape.h"

namespace {

TEST(Hex2, IsAlwaysTwoUpperCaseDigits) {
    EXPECT_EQ(Hex2(0), "00");
    EXPECT_EQ(Hex2(5), "05");
    EXPECT_EQ(Hex2(171), "AB");
}

TEST(HexToInt, TakesLeadingHexDigitsAsASigned16BitNumber) {
    EXPECT_EQ(HexToInt("ff"), 0xFF);
    EXPECT_EQ(HexToInt("7FFF"), 32767);
    EXPECT_EQ(HexToInt("8000"), -32768);
    EXPECT_EQ(HexToInt("12345"), 0x2345);  // low 16 bits
    EXPECT_EQ(HexToInt("1G"), 1);          // stops at the first other character
    EXPECT_EQ(HexToInt("XX"), 0);
    EXPECT_EQ(HexToInt(""), 0);
}

TEST(TransferFields, AcceptOnlyAHexByteAndADecimalCountFromOneTo32) {
    EXPECT_EQ(parseHexByte("1e"), 0x1E);
    EXPECT_EQ(parseHexByte("000000088"), 0x88);  // leading zeros cannot overflow
    for (const char* bad : {"100", "FFFFFFFFFFFFFFFFFF", "", "G", "1 ", "-1", "0x10"})
        EXPECT_EQ(parseHexByte(bad), std::nullopt) << bad;

    EXPECT_EQ(parseCount("1"), 1);
    EXPECT_EQ(parseCount(" 32 "), 32);
    for (const char* bad : {"0", "33", "-1", "1A", "4294967297", ""})
        EXPECT_EQ(parseCount(bad), std::nullopt) << bad;
}

TEST(Shape, FlipsBetweenBrightGreenAndGreenAndPaintsThePaletteColour) {
    Shape shape;
    EXPECT_EQ(shape.fillColour(), Black);
    for (PaletteIndex expected : {BrightGreen, Green, BrightGreen}) {
        shape.flipActivity();
        EXPECT_EQ(shape.fillColour(), expected);
    }
    shape.setFillColour(BrightRed);  // any colour but bright green flips to bright green
    shape.flipActivity();
    EXPECT_EQ(shape.fillColour(), BrightGreen);

    EXPECT_EQ(paletteColour(Black), QColor(0, 0, 0));
    EXPECT_EQ(paletteColour(Green), QColor(0, 128, 0));
    EXPECT_EQ(paletteColour(BrightGreen), QColor(0, 255, 0));
    EXPECT_EQ(paletteColour(BrightRed), QColor(255, 0, 0));
    shape.resize(16, 16);
    shape.setFillColour(BrightRed);
    EXPECT_EQ(shape.grab().toImage().pixelColor(8, 8), paletteColour(BrightRed));
}

}  // namespace
