// The shared helpers: hexadecimal texts, the console's transfer fields, the indicator's colours, and the
// number texts of the collection, chart and record file.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "common/hex.h"
#include "common/number_text.h"
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

// A blank or a minus and up to 15 digits: 0.1 + 0.2 is 0.30000000000000004, 15 digits hide the residue.
TEST(NumberText, SignedDecimalHasABlankOrAMinusAndUpTo15Digits) {
    const std::pair<long long, const char*> integers[] = {
        {5, " 5"}, {0, " 0"}, {-5, "-5"}, {1234567, " 1234567"}};
    for (const auto& [value, text] : integers) EXPECT_EQ(signedDecimal(value), text) << value;
    EXPECT_EQ(signedDecimal(std::numeric_limits<long long>::min()), "-9223372036854775808");
    const std::pair<double, const char*> doubles[] = {
        {460.0, " 460"}, {28.75, " 28.75"}, {-0.5, "-0.5"}, {0.0, " 0"}, {-0.0, " 0"}, {0.1 + 0.2, " 0.3"}};
    for (const auto& [value, text] : doubles) EXPECT_EQ(signedDecimal(value), text) << value;
    EXPECT_EQ(signedDecimal(1.0 / 3), " 0.333333333333333");
    EXPECT_EQ(signedDecimal(123456789012345.0), " 123456789012345");
}

TEST(NumberText, FixedFormatsDropTheZeroBeforeThePoint) {
    // value, "######.000", "##.00"; -0.0001 rounds to zero: no minus sign
    const std::tuple<double, const char*, const char*> cases[] = {
        {1234, "1234.000", "1234.00"}, {0.5, ".500", ".50"},     {0, ".000", ".00"},
        {0.4, ".400", ".40"},          {40, "40.000", "40.00"},  {2.0006, "2.001", "2.00"},
        {-0.5, "-.500", "-.50"},       {-0.0001, ".000", ".00"}, {65535, "65535.000", "65535.00"}};
    for (const auto& [value, three, two] : cases) {
        EXPECT_EQ(formatThreeDecimals(value), three) << value;
        EXPECT_EQ(formatTwoDecimals(value), two) << value;
    }
    const std::pair<long long, const char*> padded[] = {
        {0, "00000"}, {2500, "02500"}, {25000, "25000"}, {123456, "123456"}, {-2500, "-02500"}};
    for (const auto& [value, text] : padded) EXPECT_EQ(formatFiveDigits(value), text) << value;
}

// Anything but a number counts as 0; a number too large for a double is an infinity, which no box takes.
TEST(NumberText, NumericValueCountsAnythingButANumberAsZero) {
    constexpr double kHuge = std::numeric_limits<double>::infinity();
    const std::pair<const char*, double> cases[] = {
        {"25000", 25000}, {" 28.75 ", 28.75}, {"-3", -3},       {"1e3", 1000},     {"", 0},
        {"  ", 0},        {"abc", 0},         {"12abc", 0},     {"inf", 0},        {"nan", 0},
        {"-inf", 0},      {"1,5", 0},         {"1e999", kHuge}, {"-1e999", -kHuge}};
    for (const auto& [text, value] : cases) EXPECT_EQ(numericValue(text), value) << text;
    EXPECT_EQ(numericValue(QString(10000, '9')), kHuge);
}

TEST(NumberText, RoundToInt32HalvesToEvenAndRefusesWhatDoesNotFit) {
    const std::pair<double, std::int32_t> fits[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {2.4999, 2}};
    for (const auto& [value, rounded] : fits) EXPECT_EQ(roundToInt32(value), rounded) << value;
    EXPECT_EQ(roundToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(roundToInt32(-2147483648.0), std::numeric_limits<std::int32_t>::min());
    for (double value :
         {2147483648.0, -2147483649.0, 1e300, std::numeric_limits<double>::infinity(), std::nan("")})
        EXPECT_EQ(roundToInt32(value), std::nullopt) << value;
}

}  // namespace
