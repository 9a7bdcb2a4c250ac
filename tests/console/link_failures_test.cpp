// Link failures met by the console's own requests: the Retry/Cancel box, and what Retry finds.
#include <functional>

#include "tests/console/console_fixture.h"

namespace {

// A set the board never takes (it was unplugged) is a link failure like any other.
TEST(ConsoleLinkFailure, AFailedLedOrClockSetShowsTheRetryCancelBox) {
    const std::vector<std::pair<const char*, std::function<void(frmMain&)>>> sets{
        {"LED", [](frmMain& c) { c.chkLED[1]->click(); }},
        {"SCL clock", [](frmMain& c) { c.cboSMBusFrequency->setCurrentIndex(0); }},
        {"SPI clock", [](frmMain& c) { c.cboSPIclock->setCurrentIndex(0); }},
    };
    for (const auto& [what, set] : sets) {
        SCOPED_TRACE(what);
        Rig rig;
        rig.chooseTolvane();
        frmMain& console = rig.console();
        ASSERT_NE(console.cboSMBusFrequency->currentIndex(), 0);
        ASSERT_NE(console.cboSPIclock->currentIndex(), 0);
        rig.bus.unplug(rig.board());
        set(console);

        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        const MessageBoxRequest& box = rig.dialogs.shown[0];
        EXPECT_EQ(box.title, "Tolvane Evaluation Board");
        EXPECT_EQ(box.text, "Please check USB connection.\r\ncheckStatus");
        EXPECT_EQ(box.buttons, DialogButtons::RetryCancel);
        EXPECT_TRUE(rig.exit.requested()) << "the script answers Cancel";
        EXPECT_EQ(rig.bus.openHandleCount(), 0);
    }
}

// Retry searches afresh: every old handle is closed and only the boards still there are listed.
TEST_F(Console, RetryAfterOneOfTwoBoardsWasUnpluggedListsOnlyTheOneLeft) {
    rig.boards.push_back(&rig.bus.addBoard());
    load();
    ASSERT_EQ(console->cboEVBinstance->count(), 2);
    ASSERT_EQ(rig.bus.openHandleCount(), 4);

    rig.bus.unplug(rig.board(0));
    rig.dialogs.answer(AnswerRetry);
    console->chkLED[0]->click();

    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_FALSE(rig.exit.requested());
    EXPECT_EQ(console->cboEVBinstance->count(), 1);
    EXPECT_EQ(console->cboEVBinstance->itemText(0), "0");
    EXPECT_EQ(rig.bus.openHandleCount(), 2) << "the four old handles closed, two new ones open";
    // The board left is current now: it is read back, and the LED box follows its LEDs (off).
    EXPECT_EQ(sentSince(0, 1).front(), request({1, CMD_LED, SUB_GET}));
    EXPECT_EQ(sentSince(0, 1).back(), request({1, CMD_GP_VALUE, SUB_GET, 1}));
    EXPECT_FALSE(console->chkLED[0]->isChecked());
}

}  // namespace
