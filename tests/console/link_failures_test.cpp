// Link failures met by the console's own requests: the Retry/Cancel box, and what Retry finds.
#include <functional>

#include "tests/console/console_fixture.h"

namespace {

// A query the board never answers, or a set it never takes (it was unplugged), shows the box; Cancel
// ends the program once, with every handle closed and nothing more sent.
TEST(ConsoleLinkFailure, AFailedQueryOrSetShowsTheRetryCancelBoxAndCancelEnds) {
    const struct {
        const char* what;
        std::function<void(Rig&)> fail;
        const char* title;     // the load's box comes before the board is named
        std::size_t received;  // by the board in all
        bool panel;
    } cases[] = {
        {"LED query of the load", [](Rig& r) { r.board().dropAnswers(1); }, "", 1, false},
        {"LED set", [](Rig& r) { r.console().chkLED[1]->click(); }, "Tolvane Evaluation Board", 9, true},
        {"SCL clock set", [](Rig& r) { r.console().cboSMBusFrequency->setCurrentIndex(0); },
         "Tolvane Evaluation Board", 9, true},
        {"SPI clock set", [](Rig& r) { r.console().cboSPIclock->setCurrentIndex(0); },
         "Tolvane Evaluation Board", 9, true},
    };
    for (const auto& [what, fail, title, received, panel] : cases) {
        SCOPED_TRACE(what);
        Rig rig;
        if (!panel) fail(rig);
        rig.chooseTolvane();
        if (panel) {
            rig.bus.unplug(rig.board());
            fail(rig);
        }
        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        const MessageBoxRequest& box = rig.dialogs.shown[0];
        EXPECT_EQ(box.title, title);
        EXPECT_EQ(box.text, "Please check USB connection.\r\ncheckStatus");
        EXPECT_EQ(box.buttons, DialogButtons::RetryCancel);
        EXPECT_EQ(rig.exit.count, 1) << "the script answers Cancel";
        EXPECT_EQ(rig.bus.openHandleCount(), 0);
        EXPECT_EQ(rig.board().received.size(), received);
        EXPECT_EQ(rig.program.hasPanel(), panel);
    }
}

// Only the first of two boards is read back. Retry searches afresh: every old handle is closed and only
// the boards still there are listed; the one left is current and read back.
TEST_F(Console, RetryAfterOneOfTwoBoardsWasUnpluggedListsOnlyTheOneLeft) {
    rig.boards.push_back(&rig.bus.addBoard());
    load();
    EXPECT_EQ(console->cboEVBinstance->itemText(1), "1");
    EXPECT_EQ(sentSince(), usualReadBack());
    EXPECT_TRUE(rig.board(1).received.empty());
    ASSERT_EQ(rig.bus.openHandleCount(), 4);

    rig.bus.unplug(rig.board(0));
    rig.dialogs.answer(AnswerRetry);
    console->chkLED[0]->click();

    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_FALSE(rig.exit.requested());
    EXPECT_EQ(console->cboEVBinstance->count(), 1);
    EXPECT_EQ(console->cboEVBinstance->itemText(0), "0");
    EXPECT_EQ(rig.bus.openHandleCount(), 2) << "the four old handles closed, two new ones open";
    // The board left is read back, and the LED box follows its LEDs (off).
    EXPECT_EQ(sentSince(0, 1).front(), request({1, CMD_LED, SUB_GET}));
    EXPECT_EQ(sentSince(0, 1).back(), request({1, CMD_GP_VALUE, SUB_GET, 1}));
    EXPECT_FALSE(console->chkLED[0]->isChecked());
}

}  // namespace
