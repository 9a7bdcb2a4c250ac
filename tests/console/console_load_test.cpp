// Making a board current: the read-back chain, LEDs, clock lists, options and ports, checked
// against what the simulated board received.
#include "tests/console/console_fixture.h"

namespace {

TEST_F(Console, LoadReadsTheBoardBackInOrderAndPreparesGridAndAddress) {
    load();
    EXPECT_EQ(sentSince(), usualReadBack());
    EXPECT_EQ(console->windowTitle(), "HID Firmware Basic I/O ");
    EXPECT_FALSE(console->isVisible());
    EXPECT_EQ(console->cboEVBinstance->count(), 1);
    for (int i = 0; i < frmMain::kGridRows; ++i) {
        EXPECT_EQ(console->lblRegAddr[i]->text(), QString::asprintf("%02X", i));
        EXPECT_EQ(console->txtWriteVal[i]->text(), "00");
        EXPECT_TRUE(console->txtReadVal[i]->text().isEmpty());
    }
    EXPECT_EQ(console->txtI2Caddress->text(), "88");
    EXPECT_EQ(rig.program.link.SlaveAddress, 0x88);
    EXPECT_LT(rig.clock.milliseconds() - 1000, 500u);  // no typist's wait when the load writes it
    EXPECT_EQ(console->cboSMBusFrequency->currentText(), "400");
    EXPECT_EQ(console->cboSPIclock->currentText(), "2");

    // Making the board current again rebuilds both lists without any stray echo.
    const std::size_t mark = rig.mark();
    console->cboEVB_init();
    EXPECT_EQ(sentSince(mark), usualReadBack());
}

// A missing answer is not decoded: after Retry the console shows what the new search read back, and
// the board's LEDs are not switched off by a cleared buffer.
TEST_F(Console, RetryAfterAMissingAnswerKeepsWhatTheNewSearchReadBack) {
    rig.board().settings.leds = 0x03;
    load();
    rig.board().settings.port1Levels = 0xA5;
    rig.board().dropAnswers(1);
    rig.dialogs.answer(AnswerRetry);
    console->getGPvalue();

    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(console->lblGPReadVal[0]->text(), "A5");
    EXPECT_EQ(checkedIndexes(console->chkLED), (std::vector<int>{0, 1}));
    EXPECT_EQ(rig.board().settings.leds, 0x03);
}

TEST_F(Console, LedAnswersEchoOnlyChangedBoxesAndClicksSendBothStates) {
    rig.board().settings.leds = 0x01;
    load();
    EXPECT_EQ(sentSince()[1], request({1, CMD_LED, SUB_SET, 1}));
    EXPECT_EQ(checkedIndexes(console->chkLED), std::vector<int>{0});

    const std::string get = request({1, CMD_LED, SUB_GET});
    std::size_t mark = rig.mark();
    console->getLED();  // the answer matches the boxes
    EXPECT_EQ(sentSince(mark), std::vector<std::string>{get});

    // From both off to both on: each box echoes in turn, the second with both bits.
    console->chkLED[0]->setChecked(false);
    rig.board().settings.leds = 0x03;
    mark = rig.mark();
    console->getLED();
    EXPECT_EQ(sentSince(mark), (std::vector<std::string>{get, request({1, CMD_LED, SUB_SET, 1}),
                                                         request({1, CMD_LED, SUB_SET, 3})}));
}

TEST_F(Console, ACurrentClockCodeWithoutARowSelectsNothingAndSendsNothing) {
    sim::BridgeSettings& settings = rig.board().settings;
    settings.sclCode = 200;  // 60 kHz
    settings.spiBaseMHz = 12;
    settings.spiCode = 23;  // 250 kHz
    load();
    EXPECT_EQ(console->cboSMBusFrequency->currentIndex(), -1);
    EXPECT_EQ(console->cboSPIclock->count(), 12);
    EXPECT_EQ(console->cboSPIclock->currentIndex(), -1);
    for (const Report& report : rig.received()) EXPECT_NE(report[2], SUB_SET) << int(report[1]);
}

TEST_F(Console, OptionAndPortReadBacksSetTheBoxesAndSendNothingBack) {
    sim::BridgeSettings& settings = rig.board().settings;
    settings.i2cOptions = 0x02;
    settings.extHold = 0x01;
    settings.spiOptions = 0x06;
    settings.port1PushPull = 0x81;
    settings.port2PushPull = 0xFA;  // port 2 has four pins
    settings.pullUpsDisabled = 2;   // neither 0 nor 1: still reads as disabled
    load();
    EXPECT_EQ(sentSince(), usualReadBack());
    frmMain& c = *console;
    const std::vector<QCheckBox*> options{c.chkRepeatedStart, c.chkStoppedWrite, c.chkExtendHold,
                                          c.chkSPIckpol,      c.chkSPIckpha,     c.chkSPIss};
    EXPECT_EQ(checkedIndexes(options), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(checkedIndexes(c.chkOpenCollectorP1), (std::vector<int>{0, 7}));
    EXPECT_EQ(checkedIndexes(c.chkOpenCollectorP2), (std::vector<int>{1, 3}));
    EXPECT_TRUE(c.chkWeakPullUpDisable->isChecked());

    settings.port1Levels = 0xA5;
    settings.port2Levels = 0x3C;
    const std::size_t mark = rig.mark();
    c.getGPvalue();
    EXPECT_EQ(sentSince(mark), std::vector<std::string>{request({1, CMD_GP_VALUE, SUB_GET, 1})});
    EXPECT_EQ(c.lblGPReadVal[0]->text(), "A5");
    EXPECT_EQ(c.lblGPReadVal[1]->text(), "3C");
    EXPECT_EQ(c.GPvalueP1, 0xA5);
    EXPECT_EQ(checkedIndexes(c.chkGPvalueP1), (std::vector<int>{0, 2, 5, 7}));
    EXPECT_EQ(checkedIndexes(c.chkGPvalueP2), (std::vector<int>{2, 3}));  // bits 4, 5 only in the label
}

}  // namespace
