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

// Each option rebuilds its field of the write copy, shows it, writes it and reads R0..R3 back.
TEST_F(OptionsTest, OptionsRebuildTheirFieldWriteItAndReadBack) {
    frmTolvane& p = panel();
    const std::size_t from = mark();
    p.ChkCommand[3]->setChecked(true);
    EXPECT_EQ(chip().reg(0), 0x40);
    p.ChkCommand[3]->setChecked(false);
    p.OptITime[1]->setChecked(true);    // "12"
    p.OptMeasure[1]->setChecked(true);  // "D2-Only"
    p.OptGain[3]->setChecked(true);     // "64k"
    p.OpInt[2]->setChecked(true);       // "8 Trip"
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=40", "R00x4", "W00=80", "R00x4", "W00=81", "R00x4",
                                                "W00=85", "R00x4", "W01=0C", "R00x4", "W01=0E", "R00x4"));
    EXPECT_EQ(chip().reg(0), 0x85);
    EXPECT_EQ(chip().reg(1), 0x0E);
    EXPECT_EQ(p.txtRegHex[0]->text() + p.txtRegHex[1]->text(), "850E");
    EXPECT_EQ(p.txtRegRd[0]->text() + p.txtRegRd[1]->text(), "850E");

    for (int i : {3, 0, 2, 1}) {
        p.OptITime[i]->setChecked(true);
        EXPECT_EQ(p.acquisition().collection->txtInterval->text(), i == 0 ? "100" : "10") << i;
    }
}

TEST_F(OptionsTest, ResetPowersDownThenUpHalfASecondApartKeepingTheOtherBits) {
    panel().OptMeasure[2]->setChecked(true);  // R0 = 0x88, kept through the reset
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
    EXPECT_NEAR(log[from + 2].timeMs - log[from].timeMs, 550, 50) << "half a second apart";
    EXPECT_EQ(chip().reg(0), 0x88);
}

// Every handler that changes a register, while a run is going or being stopped.
TEST(Deferral, WhileTheLoopOwnsTheChipHandlersSendNothingAndRaiseTheirFlags) {
    const std::vector<std::tuple<const char*, std::function<void(frmTolvane&)>, std::string>> cases{
        {"power down", [](frmTolvane& p) { p.ChkCommand[3]->setChecked(true); }, "Update Command "},
        {"reset", [](frmTolvane& p) { p.cbReset_Click(); }, "Update Command "},
        {"measurement", [](frmTolvane& p) { p.OptMeasure[1]->setChecked(true); }, "Update Command "},
        {"resolution", [](frmTolvane& p) { p.OptITime[3]->setChecked(true); }, "Update Command "},
        {"range", [](frmTolvane& p) { p.OptGain[1]->setChecked(true); }, "Update Control "},
        {"persistence", [](frmTolvane& p) { p.OpInt[3]->setChecked(true); }, "Update Control "},
        {"high limit", [](frmTolvane& p) { typeAndEnter(p.txtIUpperLimit, "4096"); }, "Update High "},
        {"low limit", [](frmTolvane& p) { typeAndEnter(p.txtILowerLimit, "512"); }, "Update Low "},
        {"read-back", [](frmTolvane& p) { p.cmdRead_All->click(); }, "Update RegisterRead "},
        {"clear interrupt", [](frmTolvane& p) { p.cmdClrInt->click(); }, "Update ClearInt RegisterRead "},
    };
    for (bool collecting : {true, false}) {
        for (const auto& [what, act, flags] : cases) {
            SCOPED_TRACE(std::string(what) + (collecting ? " while collecting" : " while stopping"));
            Rig rig;
            rig.chooseTolvane();
            frmTolvane& p = rig.program.panel();
            (collecting ? p.Collecting : p.StopRequested) = true;
            const std::size_t from = rig.mark();
            act(p);
            EXPECT_EQ(rig.mark(), from) << "nothing sent";
            EXPECT_EQ(pendingFlags(p), flags);
        }
    }
}

// The time base and the mode list end a running collection, so their R0 write goes out at once.
TEST_F(OptionsTest, TimeBaseAndModeListStopTheRunAndWriteAtOnce) {
    frmTolvane& p = panel();
    p.Collecting = true;
    std::size_t from = mark();
    bool stopping = false;  // stop the run the time base starts again, once it has begun
    rig.events.meanwhile = [&] {
        if (p.acquisition().running() && p.Collecting && !stopping) {
            stopping = true;
            p.cmdStopData_Click();
        }
    };
    p.OptTimeBase_Click(0);
    rig.events.meanwhile = nullptr;
    EXPECT_FALSE(p.Collecting);
    EXPECT_THAT(trafficSince(from), ::testing::IsSupersetOf({"W00=80", "R00x4", "R04x2"}));
    EXPECT_EQ(trafficSince(from)[2], "W00=80") << "its own write, then a run's start";

    p.Collecting = true;
    from = mark();
    const QRect difference = p.LstMode2->visualItemRect(p.LstMode2->item(2));
    QTest::mouseClick(p.LstMode2->viewport(), Qt::LeftButton, {}, difference.center());
    EXPECT_FALSE(p.Collecting);
    EXPECT_TRUE(p.OptMeasure[2]->isChecked());
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=88", "R00x4"));
    EXPECT_TRUE(pendingFlags(p).empty());
}

// A board that stops answering holds the window for the whole wait: the busy cursor says so, then goes.
TEST_F(OptionsTest, ABoardThatStopsAnsweringShowsTheBusyCursorForTheWaitOnly) {
    frmTolvane& p = panel();
    p.OptMode[2]->click();
    EXPECT_EQ(p.LblCommTest->text(), "Good");
    EXPECT_TRUE(rig.busy.shownAtMs.empty()) << "a board that answers at once never shows it";

    rig.board().dropAnswers(1);
    p.OptMode[2]->click();
    EXPECT_EQ(p.LblCommTest->text(), "Fail");
    ASSERT_EQ(rig.busy.shownAtMs.size(), 1u);
    ASSERT_EQ(rig.busy.restoredAtMs.size(), 1u);
    EXPECT_EQ(rig.busy.restoredAtMs[0] - rig.busy.shownAtMs[0], 6000u - 250u);
}

// "Test Comm" reads R0 alone and judges the last exchange; "Measure" only toggles the LEDs.
TEST_F(OptionsTest, TestCommJudgesTheLastExchangeAndMeasureOnlyTogglesTheLeds) {
    frmTolvane& p = panel();
    std::size_t from = mark();
    p.OptMode[2]->click();
    EXPECT_THAT(trafficSince(from), ElementsAre("LED1", "LED3", "R00x1"));
    EXPECT_TRUE(p.LblCommTest->isVisible());
    EXPECT_EQ(p.LblCommTest->text(), "Good");
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::Window), QColor(0, 128, 0));
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::WindowText),
              QApplication::palette().color(QPalette::ButtonText));
    EXPECT_EQ(p.ShpInd[4]->fillColour(), BrightRed) << "the chip's R0 \"00\" differs from the box";
    EXPECT_FALSE(p.OptMode[0]->isChecked() || p.OptMode[2]->isChecked());

    rig.board().dropAnswers(1);
    from = mark();
    p.OptMode[2]->click();  // runs again: nothing stayed selected
    EXPECT_THAT(trafficSince(from), ElementsAre("LED2", "LED0", "R00x1"));
    EXPECT_EQ(p.LblCommTest->text(), "Fail");
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::WindowText), QColor(Qt::white));

    chip().acknowledges = false;
    p.OptMode[2]->click();
    EXPECT_EQ(p.LblCommTest->text(), "Fail");

    // While a run goes it reads nothing and judges the loop's last exchange.
    chip().acknowledges = true;
    p.cmdRead_All_Click();
    p.Collecting = true;
    from = mark();
    p.OptMode[2]->click();
    EXPECT_EQ(p.LblCommTest->text(), "Good");
    p.OptMode[0]->click();
    EXPECT_THAT(trafficSince(from), ElementsAre("LED2", "LED0", "LED1", "LED3"));
}

// An option's Click runs once for every click, whichever way it is clicked and whether or not the
// option was selected already, and once when the program selects it.
TEST(OptionClicks, EveryClickAndEveryProgramSelectionRunsTheHandlerOnce) {
    const std::vector<std::pair<const char*, std::function<void(QAbstractButton*)>>> ways{
        {"mouse", [](QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center()); }},
        {"click()", [](QAbstractButton* b) { b->click(); }},
        {"space key", [](QAbstractButton* b) { QTest::keyClick(b, Qt::Key_Space); }},
        {"program", [](QAbstractButton* b) { b->setChecked(true); }},
    };
    for (const auto& [way, press] : ways) {
        SCOPED_TRACE(way);
        Rig rig;
        rig.chooseTolvane();
        frmTolvane& p = rig.program.panel();
        std::size_t from = rig.mark();
        press(p.OptGain[2]);  // "16k", not selected
        EXPECT_THAT(describe(rig.received(from)), ElementsAre("W01=08", "R00x4"));
        from = rig.mark();
        press(p.OptGain[2]);  // now the selected one
        const std::vector<std::string> again{"W01=08", "R00x4"};
        EXPECT_EQ(describe(rig.received(from)),
                  way == std::string("program") ? std::vector<std::string>{} : again)
            << "a click on the selected option runs it again; selecting it again does not";
    }
}

TEST_F(OptionsTest, MeasureAndTheTimeBaseRunWhenClickedAsSelectedRightAfterLoad) {
    frmTolvane& p = panel();
    ASSERT_TRUE(p.OptMode[0]->isChecked() && p.OptTimeBase[0]->isChecked());
    const std::array<std::uint8_t, 4> before{chip().reg(0), chip().reg(1), chip().reg(2), chip().reg(3)};
    std::size_t from = mark();
    QTest::mouseClick(p.OptMode[0], Qt::LeftButton, {}, p.OptMode[0]->rect().center());
    EXPECT_THAT(trafficSince(from), ElementsAre("LED1", "LED3"));
    EXPECT_EQ(before,
              (std::array<std::uint8_t, 4>{chip().reg(0), chip().reg(1), chip().reg(2), chip().reg(3)}));

    from = mark();
    QTest::mouseClick(p.OptTimeBase[0], Qt::LeftButton, {}, p.OptTimeBase[0]->rect().center());
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=80", "R00x4"));
}

// A press released off the button is no click; it must not swallow the next program selection.
TEST_F(OptionsTest, APressReleasedOffTheOptionRunsNothingAndLeavesNothingBehind) {
    frmTolvane& p = panel();
    std::size_t from = mark();
    QTest::mousePress(p.OptGain[1], Qt::LeftButton, {}, p.OptGain[1]->rect().center());
    QTest::mouseRelease(p.OptGain[1], Qt::LeftButton, {}, QPoint(-50, -50));
    EXPECT_TRUE(trafficSince(from).empty());
    EXPECT_TRUE(p.OptGain[0]->isChecked());
    p.OptGain[1]->setChecked(true);
    EXPECT_THAT(trafficSince(from), ElementsAre("W01=04", "R00x4"));
}

TEST_F(OptionsTest, PollInterruptCaptionFollowsTheBoxButNotDuringARun) {
    frmTolvane& p = panel();
    p.ShpISample->setFillColour(BrightGreen);
    p.ChkIpol->setChecked(false);
    EXPECT_EQ(p.ShpISample->fillColour(), Black);
    p.Collecting = true;
    p.ChkIpol->setChecked(true);
    EXPECT_EQ(p.ChkIpol->text(), "Check to enable Interrupt Polling");
    p.Collecting = false;
    p.ChkIpol->click();
    p.ChkIpol->click();
    EXPECT_EQ(p.ChkIpol->text(), "Polling INT Via Register");
}

}  // namespace
