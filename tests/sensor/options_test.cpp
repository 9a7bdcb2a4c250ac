// Operating options as a user clicks them: what reaches the chip, and what waits for a running loop.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <functional>

#include "common/palette.h"
#include "tests/sensor/panel_fixture.h"
#include "tests/support/user_input.h"

using ::testing::ElementsAre;

namespace {

using OptionsTest = PanelTest;

TEST_F(OptionsTest, OptionsRebuildTheirFieldWriteItAndReadBack) {
    frmTolvane& p = panel();
    const struct {
        QAbstractButton* option;
        const char* write;
    } cases[] = {
        {p.ChkCommand[3], "W00=40"}, {p.ChkCommand[3], "W00=80"},
        {p.OptITime[1], "W00=81"},    // "12"
        {p.OptMeasure[1], "W00=85"},  // "D2-Only"
        {p.OpInt[2], "W01=02"},      {p.OptGain[3], "W01=0E"},
        {p.OptGain[1], "W01=06"},                                  // 8 Trip, 64k, 4k
        {p.OptITime[0], "W00=84"},   {p.OptMeasure[2], "W00=88"},  // "16", "D1-D2"
    };
    for (const auto& c : cases) {
        const std::size_t from = mark();
        click(c.option);
        EXPECT_THAT(trafficSince(from), ElementsAre(c.write, "R00x4")) << c.option->text().toStdString();
    }
    EXPECT_EQ(chip().reg(0), 0x88);
    EXPECT_EQ(chip().reg(1), 0x06);
    EXPECT_EQ(p.txtRegHex[0]->text() + p.txtRegHex[1]->text(), "8806");
    EXPECT_EQ(p.txtRegRd[0]->text() + p.txtRegRd[1]->text(), "8806");

    for (int i : {3, 0, 2, 1}) {
        click(p.OptITime[i]);
        EXPECT_EQ(frame().txtInterval->text(), i == 0 ? "100" : "10") << i;
    }
}

TEST_F(OptionsTest, ResetPowersDownThenUpHalfASecondApartKeepingTheOtherBits) {
    click(panel().OptMeasure[2]);  // R0 = 0x88, kept through the reset
    QString captionWhileWaiting;
    rig.events.meanwhile = [&] {
        if (captionWhileWaiting.isEmpty()) captionWhileWaiting = panel().cbReset->text();
    };
    const std::size_t from = mark();
    click(panel().cbReset);
    rig.events.meanwhile = nullptr;

    EXPECT_EQ(captionWhileWaiting, "Resetting ADC");
    EXPECT_EQ(panel().cbReset->text(), "Reset");
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=48", "R00x4", "W00=88", "R00x4"));
    const auto& log = rig.board().received;
    EXPECT_NEAR(log[from + 2].timeMs - log[from].timeMs, 550, 50) << "half a second apart";
}

// Every handler that changes a register, while a run is going or being stopped.
TEST(Deferral, WhileTheLoopOwnsTheChipHandlersSendNothingAndRaiseTheirFlags) {
    const std::vector<std::tuple<const char*, std::function<void(frmTolvane&)>, std::string>> cases{
        {"power down", [](frmTolvane& p) { click(p.ChkCommand[3]); }, "Update Command "},
        {"reset", [](frmTolvane& p) { click(p.cbReset); }, "Update Command "},
        {"measurement", [](frmTolvane& p) { click(p.OptMeasure[1]); }, "Update Command "},
        {"resolution", [](frmTolvane& p) { click(p.OptITime[3]); }, "Update Command "},
        {"range", [](frmTolvane& p) { click(p.OptGain[1]); }, "Update Control "},
        {"persistence", [](frmTolvane& p) { click(p.OpInt[3]); }, "Update Control "},
        {"high limit", [](frmTolvane& p) { typeAndEnter(p.txtIUpperLimit, "4096"); }, "Update High "},
        {"low limit", [](frmTolvane& p) { typeAndEnter(p.txtILowerLimit, "512"); }, "Update Low "},
        {"read-back", [](frmTolvane& p) { click(p.cmdRead_All); }, "Update RegisterRead "},
        {"clear interrupt", [](frmTolvane& p) { click(p.cmdClrInt); }, "Update ClearInt RegisterRead "},
    };
    for (bool collecting : {true, false}) {
        for (const auto& [what, act, flags] : cases) {
            SCOPED_TRACE(std::string(what) + (collecting ? " while collecting" : " while stopping"));
            Rig rig;
            rig.chooseTolvane();
            frmTolvane& p = rig.program.panel();
            duringARun(rig, [&] {
                if (!collecting) click(p.acquisition().collection->cmdStopData);  // the pass goes on
                const std::size_t from = rig.mark();
                act(p);
                EXPECT_EQ(rig.mark(), from) << "nothing sent";
                EXPECT_EQ(pendingFlags(p), flags);
            });
        }
    }
}

// The time base, which also restarts the run, is among the restarts of collection_test.cpp.
TEST_F(OptionsTest, TheModeListStopsTheRunAndWritesAtOnce) {
    frmTolvane& p = panel();
    duringARun(rig, [&] {
        const std::size_t from = mark();
        const QRect difference = p.LstMode2->visualItemRect(p.LstMode2->item(2));
        click(p.LstMode2->viewport(), difference.center());
        EXPECT_FALSE(wing().loop.collecting());
        EXPECT_TRUE(p.OptMeasure[2]->isChecked());
        EXPECT_THAT(trafficSince(from), ElementsAre("W00=88", "R00x4"));
        EXPECT_TRUE(pendingFlags(p).empty());
    });
}

// "Test Comm" reads R0 alone and judges the last exchange; "Measure" only toggles the LEDs. A board
// that stops answering holds the window for the whole wait: the busy cursor says so, then goes.
TEST_F(OptionsTest, TestCommJudgesTheLastExchangeAndMeasureOnlyTogglesTheLeds) {
    frmTolvane& p = panel();
    std::size_t from = mark();
    click(p.OptMode[2]);
    EXPECT_THAT(trafficSince(from), ElementsAre("LED1", "LED3", "R00x1"));
    EXPECT_TRUE(p.LblCommTest->isVisible());
    EXPECT_EQ(p.LblCommTest->text(), "Good");
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::Window), QColor(0, 128, 0));
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::WindowText),
              QApplication::palette().color(QPalette::ButtonText));
    EXPECT_EQ(p.ShpInd[4]->fillColour(), BrightRed) << "the chip's R0 \"00\" differs from the box";
    EXPECT_FALSE(p.OptMode[0]->isChecked() || p.OptMode[2]->isChecked());
    EXPECT_TRUE(rig.busy.shownAtMs.empty()) << "a board that answers at once never shows it";

    rig.board().dropAnswers(1);
    from = mark();
    click(p.OptMode[2]);  // runs again: nothing stayed selected
    EXPECT_THAT(trafficSince(from), ElementsAre("LED2", "LED0", "R00x1"));
    EXPECT_EQ(p.LblCommTest->text(), "Fail");
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::Window), QColor(255, 0, 0));
    EXPECT_EQ(p.LblCommTest->palette().color(QPalette::WindowText), QColor(Qt::white));
    ASSERT_EQ(rig.busy.shownAtMs.size(), 1u);
    ASSERT_EQ(rig.busy.restoredAtMs.size(), 1u);
    EXPECT_EQ(rig.busy.restoredAtMs[0] - rig.busy.shownAtMs[0], 6000u - 250u);

    chip().acknowledges = false;
    click(p.OptMode[2]);
    EXPECT_EQ(p.LblCommTest->text(), "Fail");

    // While a run goes it reads nothing and judges the loop's last exchange.
    chip().acknowledges = true;
    duringARun(rig, [&] {
        from = mark();
        click(p.OptMode[2]);
        EXPECT_EQ(p.LblCommTest->text(), "Good");
        click(p.OptMode[0]);
        EXPECT_THAT(trafficSince(from), ElementsAre("LED2", "LED0", "LED1", "LED3"));
    });
}

// An option's Click runs once for every click, by mouse or by Space, also on the option selected
// already (so "Measure" and the time base act right after the load), and once when the program selects
// it; a press released off the option is no click and leaves nothing behind.
TEST_F(OptionsTest, EveryClickAndEveryProgramSelectionRunsTheHandlerOnce) {
    frmTolvane& p = panel();
    const std::vector<std::pair<const char*, std::function<void(QAbstractButton*)>>> ways{
        {"mouse", [](QAbstractButton* b) { click(b); }},
        {"space key",
         [](QAbstractButton* b) {
             b->setFocus();
             press({Qt::Key_Space});
         }},
        {"program", [](QAbstractButton* b) { b->setChecked(true); }},
    };
    for (const auto& [way, choose] : ways) {
        SCOPED_TRACE(way);
        click(p.OptGain[0]);
        std::size_t from = mark();
        choose(p.OptGain[2]);  // "16k", not selected
        EXPECT_THAT(trafficSince(from), ElementsAre("W01=08", "R00x4"));
        from = mark();
        choose(p.OptGain[2]);  // now the selected one
        const std::vector<std::string> again{"W01=08", "R00x4"};
        EXPECT_EQ(trafficSince(from), way == std::string("program") ? std::vector<std::string>{} : again);
    }

    std::size_t from = mark();
    click(p.OptMode[0]);
    EXPECT_THAT(trafficSince(from), ElementsAre("LED1", "LED3")) << "Measure, selected since the load";
    from = mark();
    click(p.OptTimeBase[0]);
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=80", "R00x4")) << "the time base, likewise";

    from = mark();
    pressAndRelease(p.OptGain[1], QPoint(8, p.OptGain[1]->height() / 2), QPoint(-200, -200));
    EXPECT_TRUE(trafficSince(from).empty());
    p.OptGain[1]->setChecked(true);
    EXPECT_THAT(trafficSince(from), ElementsAre("W01=04", "R00x4"));
}

}  // namespace
