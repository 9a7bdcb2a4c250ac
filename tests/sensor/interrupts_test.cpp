// Interrupt thresholds typed in decimal, and an interrupt raised by the simulated chip: seen on the
// register flag and on the INT pin, then cleared.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/palette.h"
#include "sim/light_source.h"
#include "tests/sensor/panel_fixture.h"
#include "tests/support/user_input.h"

using ::testing::ElementsAre;

namespace {

struct LimitCase {
    const char* typed;
    const char* boxAfter;
    std::vector<std::string> traffic;  // empty: refused with the message
};

class InterruptsTest : public PanelTest {
protected:
    void expectLimitCases(QLineEdit* box, const std::vector<LimitCase>& cases, const QString& message) {
        for (const auto& [typed, boxAfter, traffic] : cases) {
            SCOPED_TRACE(typed);
            const std::size_t from = mark();
            const std::size_t boxes = rig.dialogs.shown.size();
            typeAndEnter(box, typed);
            EXPECT_EQ(box->text(), QString(boxAfter));
            EXPECT_EQ(trafficSince(from), traffic);
            ASSERT_EQ(rig.dialogs.shown.size(), boxes + (traffic.empty() ? 1 : 0));
            if (traffic.empty()) {
                EXPECT_EQ(rig.dialogs.shown.back().text, message);
                EXPECT_EQ(rig.dialogs.shown.back().title, "Tolvane");
            }
        }
    }
};

// Entries are rounded (halves to even), floored to a multiple of 256 and range checked; text that is
// not a number writes the register from its hexadecimal box as it stands.
TEST_F(InterruptsTest, LimitsAreRoundedDownToAByteAndRangeChecked) {
    frmTolvane& p = panel();
    expectLimitCases(p.txtIUpperLimit,
                     {{"4096", "4096", {"W02=10", "R00x4"}},
                      {"1000", "768", {"W02=03", "R00x4"}},
                      {"lots", "lots", {"W02=03", "R00x4"}},
                      {"100", "65280", {}},
                      {"0", "65280", {}},
                      {"65535", "65280", {"W02=FF", "R00x4"}},
                      {"65536", "65280", {}},
                      {"1e300", "65280", {}},
                      {"511.5", "511.5", {"W02=02", "R00x4"}},
                      {"4096.5", "4096.5", {"W02=10", "R00x4"}}},  // 4096, not 4097
                     "Hign Interrupt Limit must be  => 256 and < =65280");
    expectLimitCases(p.txtILowerLimit,
                     {{"0", "0", {"W03=00", "R00x4"}},
                      {"512", "512", {"W03=02", "R00x4"}},
                      {"200", "0", {"W03=00", "R00x4"}},
                      {"70000", "0", {}},
                      {"-300", "0", {}},
                      {"-0.5", "-0.5", {"W03=00", "R00x4"}}},  // 0, not -1
                     "Low Interrupt Limit must be 0, => 256 and < =65280");

    // During a run the write waits for the loop, and any further key in the box cancels it.
    p.Collecting = true;
    typeAndEnter(p.txtIUpperLimit, "8192");
    EXPECT_EQ(p.txtRegHex[2]->text(), "20");
    ASSERT_TRUE(p.PendingHighLimitWrite);
    type("1");
    EXPECT_FALSE(p.PendingHighLimitWrite);
}

TEST_F(InterruptsTest, ChipInterruptShowsOnTheFlagAndThePinAndClearInterruptClearsBoth) {
    frmTolvane& p = panel();
    chip().setLight(sim::LightSource::constant(500));  // half of the 1k range: count about 32768
    click(p.OpInt[1]);                                 // "4 Trip"
    typeAndEnter(p.txtIUpperLimit, "4096");
    click(p.cmdSetCommand);  // ADC enabled: integrations of 100 ms start now

    rig.clock.advance(350);  // three integrations above the window: not yet
    click(p.cmdRead_All);
    click(p.cmdSample_Portb);
    EXPECT_EQ(p.ShpINt->fillColour(), Black);
    EXPECT_EQ(p.ShpINTexternal->fillColour(), Black);
    EXPECT_EQ(rig.console().GPvalueP1, 1);

    rig.clock.advance(100);  // the fourth
    click(p.cmdRead_All);
    EXPECT_EQ(p.txtRegRd[1]->text(), "21");
    EXPECT_EQ(p.ShpINt->fillColour(), BrightRed);
    click(p.cmdSample_Portb);
    EXPECT_EQ(p.ShpINTexternal->fillColour(), BrightRed);
    EXPECT_EQ(rig.console().GPvalueP1, 0);

    const std::size_t from = mark();
    click(p.cmdClrInt);
    EXPECT_THAT(trafficSince(from), ElementsAre("W40=80", "GP", "R00x4"));
    EXPECT_FALSE(chip().interruptPending());
    EXPECT_TRUE(chip().intLineHigh());
    EXPECT_EQ(p.ShpINt->fillColour(), Black);
    EXPECT_EQ(p.ShpINTexternal->fillColour(), Black);
    EXPECT_EQ(p.ShpInd[13]->fillColour(), BrightGreen);
}

}  // namespace
