// Interrupt thresholds typed in decimal, and an interrupt raised by the simulated chip: seen on the
// register flag and on the INT pin, then cleared.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>
#include <functional>

#include "common/palette.h"
#include "sim/light_source.h"
#include "tests/sensor/panel_fixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

using InterruptsTest = PanelTest;

struct LimitCase {
    const char* typed;
    const char* boxAfter;
    std::vector<std::string> traffic;  // empty: refused with the message
};

void expectLimitCases(Rig& rig, QLineEdit* box, const std::vector<LimitCase>& cases, const QString& message,
                      const std::function<void(QLineEdit*, const QString&)>& type) {
    for (const LimitCase& c : cases) {
        SCOPED_TRACE(c.typed);
        const std::size_t from = rig.mark();
        const std::size_t boxes = rig.dialogs.shown.size();
        type(box, c.typed);
        EXPECT_EQ(box->text(), c.boxAfter);
        std::vector<std::string> sent;
        for (const Report& report : rig.received(from)) sent.push_back(describe(report));
        EXPECT_EQ(sent, c.traffic);
        if (c.traffic.empty()) {
            ASSERT_EQ(rig.dialogs.shown.size(), boxes + 1);
            EXPECT_EQ(rig.dialogs.shown.back().text, message);
            EXPECT_EQ(rig.dialogs.shown.back().title, "Tolvane");
        } else {
            EXPECT_EQ(rig.dialogs.shown.size(), boxes);
        }
    }
}

TEST_F(InterruptsTest, HighLimitIsRoundedDownToAByteAndRangeChecked) {
    const std::vector<LimitCase> cases{
        {"4096", "4096", {"W02=10", "R00x4"}},
        {"1000", "768", {"W02=03", "R00x4"}},
        {"100", "65280", {}},
        {"0", "65280", {}},
        {"65535", "65280", {"W02=FF", "R00x4"}},
        {"65536", "65280", {}},
    };
    expectLimitCases(rig, panel().txtIUpperLimit, cases, "Hign Interrupt Limit must be  => 256 and < =65280",
                     [this](QLineEdit* box, const QString& text) { typeAndEnter(box, text); });
    EXPECT_EQ(panel().txtRegHex[2]->text(), "FF");
    EXPECT_EQ(chip().reg(2), 0xFF);
}

TEST_F(InterruptsTest, LowLimitAcceptsZeroAndRoundsSmallValuesDownToIt) {
    chip().setReg(3, 0x44);
    const std::vector<LimitCase> cases{
        {"0", "0", {"W03=00", "R00x4"}},
        {"200", "0", {"W03=00", "R00x4"}},
        {"70000", "0", {}},
        {"512", "512", {"W03=02", "R00x4"}},
    };
    expectLimitCases(rig, panel().txtILowerLimit, cases, "Low Interrupt Limit must be 0, => 256 and < =65280",
                     [this](QLineEdit* box, const QString& text) { typeAndEnter(box, text); });
    EXPECT_EQ(chip().reg(3), 0x02);
}

TEST_F(InterruptsTest, TextThatIsNotANumberWritesTheHexBoxAsItStands) {
    panel().txtRegHex[2]->setText("7F");
    const std::size_t from = mark();
    typeAndEnter(panel().txtIUpperLimit, "lots");
    EXPECT_THAT(trafficSince(from), ElementsAre("W02=7F", "R00x4"));
    EXPECT_EQ(panel().txtIUpperLimit->text(), "lots");
}

TEST_F(InterruptsTest, DuringCollectionALimitIsDeferredAndFurtherTypingCancelsIt) {
    frmTolvane& p = panel();
    p.Collecting = true;
    const std::size_t from = mark();
    typeAndEnter(p.txtIUpperLimit, "4096");
    EXPECT_THAT(trafficSince(from), IsEmpty());
    EXPECT_EQ(p.txtRegHex[2]->text(), "10");
    EXPECT_TRUE(p.PendingHighLimitWrite && p.PendingUpdate);

    QTest::keyClick(p.txtIUpperLimit, Qt::Key_1);
    EXPECT_FALSE(p.PendingHighLimitWrite);

    typeAndEnter(p.txtILowerLimit, "70000");  // refused: no flag
    EXPECT_FALSE(p.PendingLowLimitWrite);
}

TEST_F(InterruptsTest, ChipInterruptShowsOnTheFlagAndThePinAndClearInterruptClearsBoth) {
    frmTolvane& p = panel();
    chip().setLight(sim::LightSource::constant(500));  // half of the 1k range: count about 32768
    p.OpInt[1]->setChecked(true);                      // "4 Trip"
    typeAndEnter(p.txtIUpperLimit, "4096");
    p.cmdSetCommand->click();  // ADC enabled: integrations of 100 ms start now

    rig.clock.advance(350);  // three integrations above the window: not yet
    p.cmdRead_All->click();
    p.cmdSample_Portb->click();
    EXPECT_EQ(p.ShpINt->fillColour(), Black);
    EXPECT_EQ(p.ShpINTexternal->fillColour(), Black);
    EXPECT_EQ(rig.console().GPvalueP1, 1);

    rig.clock.advance(100);  // the fourth
    p.cmdRead_All->click();
    EXPECT_EQ(p.ShpINt->fillColour(), BrightRed);
    EXPECT_EQ(p.txtRegRd[1]->text(), "21");
    p.cmdSample_Portb->click();
    EXPECT_EQ(p.ShpINTexternal->fillColour(), BrightRed);
    EXPECT_EQ(rig.console().GPvalueP1, 0);

    const std::size_t from = mark();
    p.cmdClrInt->click();

    EXPECT_THAT(trafficSince(from), ElementsAre("W40=80", "GP", "R00x4"));
    EXPECT_FALSE(chip().interruptPending());
    EXPECT_TRUE(chip().intLineHigh());
    EXPECT_EQ(p.ShpINt->fillColour(), Black);
    EXPECT_EQ(p.ShpINTexternal->fillColour(), Black);
    EXPECT_EQ(p.ShpInd[13]->fillColour(), BrightGreen);
    EXPECT_FALSE(p.PendingClearInt);
}

TEST_F(InterruptsTest, ClearInterruptDuringCollectionLeavesAllThreeStepsToTheLoop) {
    frmTolvane& p = panel();
    p.StopRequested = true;
    const std::size_t from = mark();
    p.cmdClrInt->click();
    EXPECT_THAT(trafficSince(from), IsEmpty());
    EXPECT_TRUE(p.PendingUpdate && p.PendingClearInt && p.PendingRegisterRead);
}

TEST_F(InterruptsTest, ClearIntRefusesAnR0BoxThatIsNotAByte) {
    frmTolvane& p = panel();
    p.txtRegHex[0]->setText("ZZ");
    p.PendingClearInt = true;
    const std::size_t from = mark();
    p.cmdClearInt->click();
    EXPECT_THAT(trafficSince(from), IsEmpty());
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text,
              "Command Register R0: enter one or two hexadecimal digits (00 to FF).");
    EXPECT_FALSE(p.PendingClearInt);
    EXPECT_EQ(p.ShpInd[13]->fillColour(), Black);
}

}  // namespace
