// The board window's faults, clicked as a trainer clicks them: what each says it has in store, and what
// the program then meets. How the program itself takes a lost link or a late answer is the panel's.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/demo/board_window_fixture.h"

using ::testing::ElementsAre;

namespace {

const QString kRetryCancelText = "Please check USB connection.\r\ncheckStatus";

// Dropped answers are met one by one, each with its box: Retry searches again and reads the board back.
TEST_F(BoardWindowTest, DroppedAnswersEachGiveTheRetryCancelBox) {
    FaultFrame& f = *window.faults;
    EXPECT_EQ(f.pendingLabel->text(), "Healthy");
    f.dropCountBox->setValue(2);
    click(f.dropButton);
    EXPECT_EQ(f.pendingLabel->text(), "2 answers to drop");
    rig.dialogs.answer(AnswerRetry);
    rig.dialogs.answer(AnswerRetry);
    const std::uint32_t before = rig.clock.milliseconds();
    click(panel().cmdSample_Portb);  // its answer, then the LED answer of the search's read-back

    EXPECT_THAT(rig.dialogs.texts(), ElementsAre(kRetryCancelText, kRetryCancelText));
    EXPECT_EQ(rig.dialogs.shown[0].title, "Tolvane Evaluation Board");
    EXPECT_GE(rig.clock.milliseconds() - before, 12000u) << "the program waited for each";
    EXPECT_FALSE(rig.exit.requested());
    EXPECT_EQ(rig.bus.openHandleCount(), 2) << "closed and opened again";
    window.refresh();
    EXPECT_EQ(f.pendingLabel->text(), "Healthy");
}

// The late answer comes after the program gave up on it: the board read-back of a Retry search made
// after reading the box must not take it (the pin sample's FF 0F) for the LED answer.
TEST_F(BoardWindowTest, ALateAnswerIsNotTakenByTheSearchAfterTheBox) {
    click(window.faults->lateButton);
    EXPECT_EQ(window.faults->pendingLabel->text(), "next answer late");
    rig.dialogs.answerWith([&](const MessageBoxRequest&) {
        rig.clock.advance(2000);  // reading the box
        return AnswerRetry;
    });
    click(panel().cmdSample_Portb);
    EXPECT_THAT(rig.dialogs.texts(), ElementsAre(kRetryCancelText));
    EXPECT_FALSE(rig.console().chkLED[0]->isChecked() || rig.console().chkLED[1]->isChecked());
    EXPECT_EQ(rig.board().settings.leds, 0);
    window.refresh();
    EXPECT_EQ(window.faults->pendingLabel->text(), "Healthy");
}

// Unplugged for a while: the program's request fails, Retry finds no board until the timer plugs it
// back, and the next Retry reconnects. Plugging in alone does not: the old handles stay dead.
TEST_F(BoardWindowTest, RetryAfterTheBoardIsPluggedInAgainReconnects) {
    FaultFrame& f = *window.faults;
    click(f.unplugForAWhileButton);
    EXPECT_EQ(f.replugTimer->interval(), 10000);
    EXPECT_EQ(f.pendingLabel->text(), "Unplugged for a while");
    EXPECT_FALSE(f.unplugButton->isEnabled() || f.unplugForAWhileButton->isEnabled());
    EXPECT_TRUE(f.plugButton->isEnabled());

    rig.dialogs.answer(AnswerRetry);  // at once: the board is still out
    rig.dialogs.answerWith([&](const MessageBoxRequest&) {
        rig.clock.advance(10000);
        f.plugIn();  // as the timer does, while the box is up
        return AnswerRetry;
    });
    click(panel().cmdSample_Portb);
    ASSERT_EQ(rig.dialogs.texts().size(), 2u);
    EXPECT_EQ(rig.dialogs.texts()[0], kRetryCancelText);
    EXPECT_TRUE(rig.dialogs.texts()[1].endsWith("not found.")) << "the search found no board";
    EXPECT_FALSE(rig.exit.requested());
    EXPECT_FALSE(f.replugTimer->isActive());
    EXPECT_EQ(f.pendingLabel->text(), "Healthy");
    click(panel().cmdSetCommand);
    EXPECT_EQ(shownRegisters(0), "8000FF00") << "the panel reaches the chip again";

    click(f.unplugButton);
    EXPECT_EQ(f.pendingLabel->text(), "Unplugged");
    click(f.plugButton);
    rig.dialogs.answer(AnswerRetry);
    click(panel().cmdSample_Portb);
    EXPECT_EQ(rig.dialogs.texts().back(), kRetryCancelText);
    EXPECT_EQ(rig.dialogs.texts().size(), 3u);
    click(panel().cmdRead_All);
    EXPECT_EQ(shownRegisters(0), "8000FF00");
}

// A chip that does not acknowledge fails "Test Comm"; a second board is listed by the next search and
// gone from the one after it is unplugged, and the same board comes back.
TEST_F(BoardWindowTest, ASilentChipAndASecondBoard) {
    frmTolvane& p = panel();
    FaultFrame& f = *window.faults;
    click(f.noAcknowledgeBox);
    EXPECT_EQ(f.pendingLabel->text(), "no acknowledge");
    click(p.OptMode[2]);
    EXPECT_EQ(p.LblCommTest->text(), "Fail");
    click(f.noAcknowledgeBox);
    click(p.OptMode[2]);
    EXPECT_EQ(p.LblCommTest->text(), "Good");

    const auto searchAgain = [&] {
        f.dropCountBox->setValue(1);
        click(f.dropButton);
        rig.dialogs.answer(AnswerRetry);
        click(p.cmdSample_Portb);
        return rig.console().cboEVBinstance->count();
    };
    for (const int listed : {2, 1, 2}) {
        click(f.secondBoardBox);
        EXPECT_EQ(searchAgain(), listed);
    }
    EXPECT_EQ(rig.bus.enumerate().back().path, "sim:1") << "the same board again";
}

}  // namespace
