// Text and number conversions shared by the windows.
#include "common/hex.h"

#include <gtest/gtest.h>

namespace {

TEST(Hex2, IsAlwaysTwoUpperCaseDigits) {
    EXPECT_EQ(Hex2(0), "00");
    EXPECT_EQ(Hex2(5), "05");
    EXPECT_EQ(Hex2(0x0A), "0A");
    EXPECT_EQ(Hex2(171), "AB");
    EXPECT_EQ(Hex2(255), "FF");
}

TEST(HexToInt, TakesLeadingHexDigitsAsASigned16BitNumber) {
    EXPECT_EQ(HexToInt("80"), 0x80);
    EXPECT_EQ(HexToInt("ff"), 0xFF);
    EXPECT_EQ(HexToInt("7FFF"), 32767);
    EXPECT_EQ(HexToInt("8000"), -32768);
    EXPECT_EQ(HexToInt("FFFF"), -1);
    EXPECT_EQ(HexToInt("12345"), 0x2345);  // low 16 bits
    EXPECT_EQ(HexToInt("1G"), 1);          // stops at the first other character
    EXPECT_EQ(HexToInt("XX"), 0);
    EXPECT_EQ(HexToInt(""), 0);
    EXPECT_EQ(HexToInt(" 5"), 0);
}

TEST(ParseHexByte, AcceptsOnlyHexTextWorthOneByte) {
    EXPECT_EQ(parseHexByte("0"), 0);
    EXPECT_EQ(parseHexByte("1e"), 0x1E);
    EXPECT_EQ(parseHexByte("FF"), 0xFF);
    EXPECT_EQ(parseHexByte("000000088"), 0x88);  // leading zeros cannot overflow
    EXPECT_EQ(parseHexByte("100"), std::nullopt);
    EXPECT_EQ(parseHexByte("FFFFFFFFFFFFFFFFFF"), std::nullopt);
    EXPECT_EQ(parseHexByte(""), std::nullopt);
    EXPECT_EQ(parseHexByte("G"), std::nullopt);
    EXPECT_EQ(parseHexByte("1 "), std::nullopt);
    EXPECT_EQ(parseHexByte("-1"), std::nullopt);
    EXPECT_EQ(parseHexByte("0x10"), std::nullopt);
}

TEST(ParseCount, AcceptsDecimalOneToThirtyTwo) {
    EXPECT_EQ(parseCount("1"), 1);
    EXPECT_EQ(parseCount("32"), 32);
    EXPECT_EQ(parseCount(" 4 "), 4);
    EXPECT_EQ(parseCount("0"), std::nullopt);
    EXPECT_EQ(parseCount("33"), std::nullopt);
    EXPECT_EQ(parseCount("-1"), std::nullopt);
    EXPECT_EQ(parseCount("1A"), std::nullopt);  // decimal, not hexadecimal
    EXPECT_EQ(parseCount("4294967297"), std::nullopt);
    EXPECT_EQ(parseCount(""), std::nullopt);
}

}  // namespace
