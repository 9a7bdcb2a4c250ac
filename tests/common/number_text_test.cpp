// The number texts of the collection, chart and record file, and reading numbers from boxes.
#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(NumberText, SignedDecimalHasABlankOrAMinusAndUpTo15Digits) {
    const std::pair<long long, const char*> integers[] = {
        {5, " 5"},
        {0, " 0"},
        {-5, "-5"},
        {1234567, " 1234567"},
        {std::numeric_limits<long long>::min(), "-9223372036854775808"}};
    for (const auto& [value, text] : integers) EXPECT_EQ(signedDecimal(value), text) << value;

    // 0.1 + 0.2 is 0.30000000000000004: 15 digits hide the binary residue.
    const std::pair<double, const char*> doubles[] = {{460.0, " 460"},
                                                      {28.75, " 28.75"},
                                                      {-0.5, "-0.5"},
                                                      {0.0, " 0"},
                                                      {-0.0, " 0"},
                                                      {0.1 + 0.2, " 0.3"},
                                                      {1.0 / 3, " 0.333333333333333"},
                                                      {123456789012345.0, " 123456789012345"}};
    for (const auto& [value, text] : doubles) EXPECT_EQ(signedDecimal(value), text) << value;
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
    const std::optional<std::int32_t> none;
    const std::pair<double, std::optional<std::int32_t>> cases[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {2.4999, 2},
        {2147483647.0, 2147483647},
        {2147483647.4, 2147483647},
        {-2147483648.0, -2147483647 - 1},
        {2147483648.0, none},
        {-2147483649.0, none},
        {1e300, none},
        {std::numeric_limits<double>::infinity(), none},
        {std::nan(""), none}};
    for (const auto& [value, rounded] : cases) EXPECT_EQ(roundToInt32(value), rounded) << value;
}

}  // namespace
