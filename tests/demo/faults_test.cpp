// Faults caused from the board window, and what the program then shows: the lost-link message, the
// Retry/Cancel box and its search, late answers, a silent chip, a second board.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/hex.h"
#include "tests/demo/board_window_fixture.h"

using ::testing::ElementsAre;

namespace {

const QString kRetryCancelText = "Please check USB connection.\r\ncheckStatus";
const QString kNotFoundText =
    "Please check USB connection.\r\nHalvora HID USB Device: VID 7C4B, PID 2019  Tolvane Evaluation Board "
    "not found.";

// The loop lets events run while it waits for a sample's due time: the ADC read is the first request
// to find the board gone.
TEST_F(BoardWindowTest, UnplugDuringARunEndsTheProgramWithTheLostLinkMessage) {
    collect([&] {
        if (history().SampleIndex == 5) window.faults->unplugButton->click();
    });
    EXPECT_THAT(boxTexts(), ElementsAre(kLinkLost));
    EXPECT_EQ(rig.dialogs.shown[0].buttons, DialogButtons::Ok);
    EXPECT_TRUE(rig.exit.requested());
    EXPECT_EQ(history().SampleIndex, 5) << "the failed read is stored in place, not counted";
    EXPECT_EQ(window.faults->pendingLabel->text(), "Unplugged");
    EXPECT_FALSE(window.faults->unplugButton->isEnabled());
    EXPECT_TRUE(window.faults->plugButton->isEnabled());
}

// A dropped answer to one of the console's own requests shows the designed box; Retry searches again
// and reopens the board.
TEST_F(BoardWindowTest, ADroppedAnswerGivesTheRetryCancelBoxAndRetrySearchesAgain) {
    const int handlesBefore = rig.bus.openHandleCount();
    window.faults->dropCountBox->setValue(1);
    window.faults->dropButton->click();
    EXPECT_EQ(window.faults->pendingLabel->text(), "1 answer to drop");
    rig.dialogs.answer(AnswerRetry);
    const std::uint32_t before = rig.clock.milliseconds();
    panel().cmdSample_Portb->click();

    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, kRetryCancelText);
    EXPECT_EQ(rig.dialogs.shown[0].title, "Tolvane Evaluation Board");
    EXPECT_EQ(rig.dialogs.shown[0].buttons, DialogButtons::RetryCancel);
    EXPECT_GE(rig.clock.milliseconds() - before, 6000u) << "the program waited for it";
    EXPECT_FALSE(rig.exit.requested());
    EXPECT_EQ(rig.bus.openHandleCount(), handlesBefore) << "closed and opened again";
    window.refresh();
    EXPECT_EQ(window.faults->pendingLabel->text(), "Healthy");
}

// Unplugged for a while: the program's request fails, Retry finds no board until it is back, and the
// next Retry reconnects. Plugging in alone does not: the old handles stay dead.
TEST_F(BoardWindowTest, RetryAfterTheBoardIsPluggedInAgainReconnects) {
    FaultFrame& faults = *window.faults;
    faults.unplugForAWhileButton->click();
    EXPECT_TRUE(faults.replugTimer->isActive());
    EXPECT_EQ(faults.replugTimer->interval(), 10000);
    EXPECT_EQ(faults.pendingLabel->text(), "Unplugged for a while");

    rig.dialogs.answer(AnswerRetry);  // at once: the board is still out
    rig.dialogs.answerWith([&](const MessageBoxRequest&) {
        rig.clock.advance(10000);
        faults.plugIn();  // as the timer does, while the box is up
        return AnswerRetry;
    });
    panel().cmdSample_Portb->click();
    EXPECT_THAT(boxTexts(), ElementsAre(kRetryCancelText, kNotFoundText));
    EXPECT_FALSE(rig.exit.requested());
    EXPECT_FALSE(faults.replugTimer->isActive());
    EXPECT_EQ(faults.pendingLabel->text(), "Healthy");

    panel().cmdSetCommand->click();
    EXPECT_EQ(shownRegisters(0), "8000FF00") << "the panel reaches the chip again";
    EXPECT_EQ(boxTexts().size(), 2u);

    // Out and in again before the program looks: its handles are still the old ones.
    faults.unplugButton->click();
    faults.plugButton->click();
    rig.dialogs.answer(AnswerRetry);
    panel().cmdSample_Portb->click();
    EXPECT_EQ(boxTexts().size(), 3u);
    EXPECT_EQ(boxTexts().back(), kRetryCancelText);
    panel().cmdRead_All->click();
    EXPECT_EQ(shownRegisters(0), "8000FF00");
}

// A late answer comes after the program gave up on it. The next read, a moment later, shows its own
// answer, not the late one; so does the board read-back of a Retry search made after reading the box.
TEST_F(BoardWindowTest, ALateAnswerIsNotTakenAsTheNextReadsAnswer) {
    frmTolvane& p = panel();
    p.cmdSetCommand->click();
    rig.clock.advance(150);
    window.faults->lateButton->click();
    EXPECT_EQ(window.faults->pendingLabel->text(), "next answer late");
    p.cmdRead_Measurements->click();  // 9A 19 ... arrives 7 s after the request, 1 s after the give-up
    window.refresh();
    EXPECT_EQ(window.faults->pendingLabel->text(), "Healthy");
    rig.clock.advance(2000);  // a person takes a moment to click again
    p.cmdRead_All->click();
    EXPECT_EQ(shownRegisters(0), "8000FF00");
    p.cmdRead_Measurements->click();
    EXPECT_EQ(shownRegisters(4).left(4), "9A19");
    EXPECT_TRUE(rig.dialogs.shown.empty());

    window.faults->lateButton->click();
    rig.dialogs.answerWith([&](const MessageBoxRequest&) {
        rig.clock.advance(2000);  // reading the box
        return AnswerRetry;
    });
    p.cmdSample_Portb->click();  // the pin sample's answer (FF 0F) comes after the give-up
    EXPECT_THAT(boxTexts(), ElementsAre(kRetryCancelText));
    EXPECT_FALSE(rig.exit.requested());
    // The search reads the board back: the late pin sample taken for the LED answer would light both.
    EXPECT_FALSE(rig.console().chkLED[0]->isChecked() || rig.console().chkLED[1]->isChecked());
    EXPECT_EQ(rig.board().settings.leds, 0);
}

// During a run the loop's read that gets no answer in time is a lost link: the program ends.
TEST_F(BoardWindowTest, ALateAnswerDuringARunEndsTheProgramWithTheLostLinkMessage) {
    collect([&] {
        if (history().SampleIndex == 3 && !rig.board().nextAnswerLate()) window.faults->lateButton->click();
    });
    EXPECT_THAT(boxTexts(), ElementsAre(kLinkLost));
    EXPECT_TRUE(rig.exit.requested());
}

// A chip that does not acknowledge fails "Test Comm"; a second board is listed by the next search and
// gone from the one after it is unplugged.
TEST_F(BoardWindowTest, ASilentChipFailsTheCommTestAndASecondBoardShowsAtTheNextSearch) {
    frmTolvane& p = panel();
    window.faults->noAcknowledgeBox->setChecked(true);
    EXPECT_EQ(window.faults->pendingLabel->text(), "no acknowledge");
    p.OptMode[2]->click();
    EXPECT_EQ(p.LblCommTest->text(), "Fail");
    window.faults->noAcknowledgeBox->setChecked(false);
    p.OptMode[2]->click();
    EXPECT_EQ(p.LblCommTest->text(), "Good");

    const auto searchAgain = [&] {
        window.faults->dropButton->click();
        rig.dialogs.answer(AnswerRetry);
        p.cmdSample_Portb->click();
        return rig.console().cboEVBinstance->count();
    };
    window.faults->secondBoardBox->setChecked(true);
    EXPECT_EQ(searchAgain(), 2);
    window.faults->secondBoardBox->setChecked(false);
    EXPECT_EQ(searchAgain(), 1);
    window.faults->secondBoardBox->setChecked(true);
    EXPECT_EQ(searchAgain(), 2) << "the same board again";
    EXPECT_EQ(rig.bus.enumerate().size(), 2u);
}

}  // namespace
