// Operating options against the simulated board: what reaches the chip, in which order, and what is
// deferred while a collection owns the chip.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <functional>

#include "common/palette.h"
#include "tests/sensor/panel_fixture.h"

using ::testing::ElementsAre;

namespace {

using OptionsTest = PanelTest;

TEST_F(OptionsTest, PowerDownBoxRewritesR0AndReadsItBack) {
    std::size_t from = mark();
    panel().ChkCommand[3]->setChecked(true);
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=40", "R00x4"));
    EXPECT_EQ(chip().reg(0), 0x40);
    EXPECT_EQ(panel().txtRegHex[0]->text(), "40");
    EXPECT_EQ(panel().txtRegRd[0]->text(), "40");

    from = mark();
    panel().ChkCommand[3]->setChecked(false);
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=80", "R00x4"));
    EXPECT_EQ(chip().reg(0), 0x80);
    EXPECT_EQ(panel().RegShadow[0], 0x80);
}

TEST_F(OptionsTest, MeasurementAndResolutionShareR0AndSetTheInterval) {
    std::size_t from = mark();
    panel().OptITime[1]->setChecked(true);  // "12"
    EXPECT_EQ(panel().txtInterval->text(), "10");
    panel().OptMeasure[1]->setChecked(true);  // "D2-Only"
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=81", "R00x4", "W00=85", "R00x4"));
    EXPECT_EQ(chip().reg(0), 0x85);
    EXPECT_EQ(panel().txtRegRd[0]->text(), "85");

    panel().OptITime[2]->setChecked(true);
    EXPECT_EQ(panel().txtInterval->text(), "10");
    panel().OptITime[3]->setChecked(true);
    EXPECT_EQ(panel().txtInterval->text(), "10");
    panel().OptITime[0]->setChecked(true);
    EXPECT_EQ(panel().txtInterval->text(), "100");
    panel().OptMeasure[2]->setChecked(true);
    EXPECT_EQ(chip().reg(0), 0x88);
}

TEST_F(OptionsTest, RangeAndPersistenceShareR1) {
    const std::size_t from = mark();
    panel().OptGain[3]->setChecked(true);  // "64k"
    panel().OpInt[2]->setChecked(true);    // "8 Trip"
    EXPECT_THAT(trafficSince(from), ElementsAre("W01=0C", "R00x4", "W01=0E", "R00x4"));
    EXPECT_EQ(chip().reg(1), 0x0E);
    EXPECT_EQ(panel().txtRegHex[1]->text(), "0E");
    EXPECT_EQ(chip().reg(0), 0x00) << "R0 is not touched";
}

TEST_F(OptionsTest, ResetPowersDownThenUpHalfASecondApartKeepingTheOtherBits) {
    panel().OptMeasure[2]->setChecked(true);  // R0 = 0x88
    QString captionWhileWaiting;
    rig.events.meanwhile = [&] {
        if (captionWhileWaiting.isEmpty()) captionWhileWaiting = panel().cbReset->text();
    };
    const std::size_t from = mark();

    panel().cbReset->click();

    EXPECT_EQ(captionWhileWaiting, "Resetting ADC");
    EXPECT_EQ(panel().cbReset->text(), "Reset");
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=48", "R00x4", "W00=88", "R00x4"));
    const auto& log = rig.board().received;
    const std::uint32_t apart = log[from + 2].timeMs - log[from].timeMs;
    EXPECT_GE(apart, 500u);
    EXPECT_LT(apart, 600u);
    EXPECT_EQ(chip().reg(0), 0x88);
    EXPECT_FALSE(panel().ChkCommand[3]->isChecked());
}

struct DeferralCase {
    const char* what;
    std::function<void(frmTolvane&)> act;
    bool command;
    bool control;
};

TEST(OptionsDeferral, WhileTheLoopOwnsTheChipHandlersOnlySetTheirPendingFlags) {
    const std::vector<DeferralCase> cases{
        {"power down", [](frmTolvane& p) { p.ChkCommand[3]->setChecked(true); }, true, false},
        {"reset", [](frmTolvane& p) { p.cbReset_Click(); }, true, false},
        {"measurement", [](frmTolvane& p) { p.OptMeasure[1]->setChecked(true); }, true, false},
        {"resolution", [](frmTolvane& p) { p.OptITime[3]->setChecked(true); }, true, false},
        {"range", [](frmTolvane& p) { p.OptGain[1]->setChecked(true); }, false, true},
        {"persistence", [](frmTolvane& p) { p.OpInt[3]->setChecked(true); }, false, true},
    };
    for (bool collecting : {true, false}) {
        for (const DeferralCase& c : cases) {
            SCOPED_TRACE(std::string(c.what) + (collecting ? " while collecting" : " while stopping"));
            Rig rig;
            rig.chooseTolvane();
            frmTolvane& p = rig.program.panel();
            (collecting ? p.Collecting : p.StopRequested) = true;
            const std::size_t from = rig.mark();

            c.act(p);

            EXPECT_EQ(rig.mark(), from) << "nothing sent";
            EXPECT_TRUE(p.PendingUpdate);
            EXPECT_EQ(p.PendingCommandWrite, c.command);
            EXPECT_EQ(p.PendingControlWrite, c.control);
            EXPECT_FALSE(p.PendingHighLimitWrite || p.PendingLowLimitWrite || p.PendingClearInt ||
                         p.PendingRegisterRead);
            EXPECT_EQ(rig.board().chip.reg(0), 0x00);
            EXPECT_EQ(rig.board().chip.reg(1), 0x00);
        }
    }
}

TEST_F(OptionsTest, TimeBaseStopsTheCollectionAndWritesR0AtOnce) {
    panel().Collecting = true;
    const std::size_t from = mark();
    panel().OptTimeBase_Click(0);
    EXPECT_FALSE(panel().Collecting);
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=80", "R00x4"));
    EXPECT_FALSE(panel().PendingCommandWrite);
}

TEST_F(OptionsTest, TestCommShowsGoodOnGreenThenFailOnRedAfterADroppedAnswer) {
    frmTolvane& p = panel();
    std::size_t from = mark();
    p.OptMode[2]->click();

    EXPECT_THAT(trafficSince(from), ElementsAre("LED1", "LED3", "R00x1"));
    EXPECT_TRUE(p.LblCommTest->isVisible());
    EXPECT_EQ(p.LblCommTest->text(), "Good");
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::Window), QColor(0, 128, 0));
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::WindowText),
              QApplication::palette().color(QPalette::ButtonText));
    EXPECT_EQ(p.txtRegRd[0]->text(), "00");
    EXPECT_EQ(p.ShpInd[4]->fillColour(), BrightRed) << "the chip's R0 differs from the write box";
    EXPECT_FALSE(p.OptMode[0]->isChecked() || p.OptMode[1]->isChecked() || p.OptMode[2]->isChecked());
    EXPECT_EQ(p.ReadCount, 1);

    rig.board().dropAnswers(1);
    from = mark();
    p.OptMode[2]->click();  // runs again: nothing stayed selected

    EXPECT_THAT(trafficSince(from), ElementsAre("LED2", "LED0", "R00x1"));
    EXPECT_EQ(p.LblCommTest->text(), "Fail");
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::WindowText), QColor(Qt::white));
}

TEST_F(OptionsTest, TestCommFailsWhenTheChipDoesNotAcknowledge) {
    chip().acknowledges = false;
    panel().OptMode[2]->click();
    EXPECT_EQ(panel().LblCommTest->text(), "Fail");
}

TEST_F(OptionsTest, TestCommWhileCollectingJudgesTheLastExchangeWithoutReading) {
    panel().cmdRead_All_Click();  // the loop's last exchange, as far as the link can tell
    panel().Collecting = true;
    const std::size_t from = mark();
    panel().OptMode[2]->click();
    EXPECT_THAT(trafficSince(from), ElementsAre("LED1", "LED3"));
    EXPECT_EQ(panel().LblCommTest->text(), "Good");
}

TEST_F(OptionsTest, MeasureOnlyTogglesBothLeds) {
    panel().OptMode[2]->click();  // leaves no mode selected and both LEDs on
    const std::size_t from = mark();
    panel().OptMode[0]->click();
    EXPECT_THAT(trafficSince(from), ElementsAre("LED2", "LED0"));
    EXPECT_EQ(rig.board().settings.leds, 0);
    EXPECT_TRUE(panel().OptMode[0]->isChecked());
}

TEST_F(OptionsTest, PollInterruptCaptionFollowsTheBox) {
    frmTolvane& p = panel();
    p.ShpISample->setFillColour(BrightGreen);
    p.ChkIpol->setChecked(false);
    EXPECT_EQ(p.ChkIpol->text(), "Check to enable Interrupt Polling");
    EXPECT_EQ(p.ShpISample->fillColour(), Black);

    p.ChkIpol->setChecked(true);
    EXPECT_EQ(p.ChkIpol->text(), "Polling INT Via Register");

    p.ChkIpol->setChecked(false);
    p.Collecting = true;
    p.ChkIpol->setChecked(true);
    EXPECT_EQ(p.ChkIpol->text(), "Check to enable Interrupt Polling") << "unchanged while collecting";
}

TEST_F(OptionsTest, ReleasingTheMouseOnTheModeListSelectsTheMeasurement) {
    frmTolvane& p = panel();
    p.Collecting = true;
    const std::size_t from = mark();
    const QRect difference = p.LstMode2->visualItemRect(p.LstMode2->item(2));
    QTest::mouseClick(p.LstMode2->viewport(), Qt::LeftButton, {}, difference.center());

    EXPECT_FALSE(p.Collecting);
    EXPECT_TRUE(p.OptMeasure[2]->isChecked());
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=88", "R00x4"));
    EXPECT_EQ(chip().reg(0), 0x88);
}

}  // namespace
