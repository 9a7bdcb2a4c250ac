// The shared helpers: hexadecimal texts, the console's transfer fields, the indicator's colours.
#include <gtest/gtest.h>

#include "common/hex.h"
#include "common/palette.h"
#include "common/shape.h"

namespace {

TEST(Hex, TwoDigitTextsAndTheBoxesSigned16BitReading) {
    for (const auto& [value, text] : {std::pair{0, "00"}, {5, "05"}, {171, "AB"}})
        EXPECT_EQ(Hex2(value), text);
    // Leading digits up to the first other character; "8000".."FFFF" are negative; the low 16 bits stay.
    const std::pair<const char*, int> cases[] = {
        {"ff", 0xFF}, {"7FFF", 32767}, {"8000", -32768}, {"12345", 0x2345}, {"1G", 1},
        {"G1", 0},    {"1G2", 1},      {"XX", 0},        {"", 0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(HexToInt(text), value) << text;
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

TEST(Shape, PaintsItsPaletteColourAndFlipsAnyOtherColourToBrightGreen) {
    Shape shape;
    shape.resize(16, 16);
    const std::pair<PaletteIndex, QColor> colours[] = {
        {Black, {0, 0, 0}}, {Green, {0, 128, 0}}, {BrightGreen, {0, 255, 0}}, {BrightRed, {255, 0, 0}}};
    for (const auto& [index, colour] : colours) {
        shape.setFillColour(index);
        EXPECT_EQ(shape.grab().toImage().pixelColor(8, 8), colour) << index;
    }
    shape.flipActivity();
    EXPECT_EQ(shape.fillColour(), BrightGreen);
}

}  // namespace
