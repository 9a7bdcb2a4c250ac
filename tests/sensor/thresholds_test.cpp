// The threshold arithmetic on its own, and the key codes the panel's key handlers receive.
#include "sensor/thresholds.h"

#include <gtest/gtest.h>

#include "sensor/event_hooks.h"

namespace {

using Verdict = ThresholdEntry::Verdict;

TEST(ThresholdArithmetic, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
}

TEST(ThresholdArithmetic, HighLimitAcceptsMultiplesOf256FromOneStepToTheTop) {
    const ThresholdEntry exact = checkHighThreshold("4096");
    EXPECT_EQ(exact.verdict, Verdict::Accepted);
    EXPECT_FALSE(exact.adjusted);
    EXPECT_EQ(exact.registerValue, 0x10);

    const ThresholdEntry rounded = checkHighThreshold("1000");
    EXPECT_EQ(rounded.verdict, Verdict::Accepted);
    EXPECT_TRUE(rounded.adjusted);
    EXPECT_EQ(rounded.value, 768);
    EXPECT_EQ(rounded.registerValue, 0x03);

    EXPECT_EQ(checkHighThreshold("65535").value, 65280);
    EXPECT_EQ(checkHighThreshold("511.5").value, 512) << "rounded to 512 before flooring";
    EXPECT_EQ(checkHighThreshold(" 256 ").registerValue, 0x01);
    for (const char* outside : {"0", "100", "255.4", "65536", "-300", "1e300"}) {
        EXPECT_EQ(checkHighThreshold(outside).verdict, Verdict::OutOfRange) << outside;
    }
}

TEST(ThresholdArithmetic, LowLimitAlsoAcceptsZeroAndFloorsSmallValuesToIt) {
    const ThresholdEntry zero = checkLowThreshold("0");
    EXPECT_EQ(zero.verdict, Verdict::Accepted);
    EXPECT_FALSE(zero.adjusted);
    EXPECT_EQ(zero.registerValue, 0);

    const ThresholdEntry small = checkLowThreshold("200");
    EXPECT_EQ(small.verdict, Verdict::Accepted);
    EXPECT_TRUE(small.adjusted);
    EXPECT_EQ(small.value, 0);

    EXPECT_EQ(checkLowThreshold("65280").registerValue, 0xFF);
    for (const char* outside : {"70000", "-1", "65536"}) {
        EXPECT_EQ(checkLowThreshold(outside).verdict, Verdict::OutOfRange) << outside;
    }
}

TEST(ThresholdArithmetic, TextThatIsNotANumberIsLeftToTheHexBox) {
    for (const char* text : {"", "abc", "12abc", "inf", "nan"}) {
        EXPECT_EQ(checkHighThreshold(text).verdict, Verdict::NotANumber) << text;
        EXPECT_EQ(checkLowThreshold(text).verdict, Verdict::NotANumber) << text;
    }
}

TEST(KeyCodes, EnterIsThirteenAndKeysThatTypeNothingAreIgnored) {
    EXPECT_EQ(keyAscii(Qt::Key_Return, "\r"), 13);
    EXPECT_EQ(keyAscii(Qt::Key_Enter, "\r"), 13);
    EXPECT_EQ(keyAscii(Qt::Key_Backspace, "\b"), 8);
    EXPECT_EQ(keyAscii(Qt::Key_A, "a"), 'a');
    EXPECT_EQ(keyAscii(Qt::Key_Shift, ""), 0);
}

}  // namespace
