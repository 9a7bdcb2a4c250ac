// Making a board current: the read-back chain, LEDs, clock lists, options and ports, checked
// against what the simulated board received.
#include <gtest/gtest.h>

#include "console/frmMain.h"
#include "tests/console/console_reports.h"
#include "tests/support/rig.h"

namespace {

std::vector<std::string> sentSince(Rig& rig, std::size_t mark, int board = 0) {
    return hexLines(rig.received(mark, board));
}

std::vector<int> checkedIndexes(const auto& boxes) {
    std::vector<int> checked;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i]->isChecked()) checked.push_back(static_cast<int>(i));
    return checked;
}

TEST(ConsoleLoad, ReadsTheBoardBackInOrderAndPreparesGridAndAddress) {
    Rig rig;
    rig.chooseTolvane();
    frmMain& console = rig.console();
    EXPECT_EQ(sentSince(rig, 0), usualReadBack());
    EXPECT_EQ(console.windowTitle(), "HID Firmware Basic I/O ");
    EXPECT_FALSE(console.isVisible());
    EXPECT_EQ(console.cboEVBinstance->count(), 1);
    for (int i = 0; i < 32; ++i) {
        EXPECT_EQ(console.lblRegAddr[i]->text(), QString::asprintf("%02X", i));
        EXPECT_EQ(console.txtWriteVal[i]->text(), "00");
        EXPECT_TRUE(console.txtReadVal[i]->text().isEmpty());
    }
    EXPECT_EQ(console.txtI2Caddress->text(), "88");
    EXPECT_EQ(rig.program.link.SlaveAddress, 0x88);
    EXPECT_LT(rig.clock.milliseconds() - 1000, 500u);  // no typist's wait when the load writes it

    // Making the board current again rebuilds both lists without any stray echo.
    const std::size_t mark = rig.mark();
    console.cboEVB_init();
    EXPECT_EQ(sentSince(rig, mark), usualReadBack());
}

TEST(ConsoleLoad, SelectingTheSecondBoardReadsOnlyItBack) {
    Rig rig(2);
    rig.chooseTolvane();
    ASSERT_EQ(rig.console().cboEVBinstance->itemText(1), "1");
    EXPECT_TRUE(rig.board(1).received.empty());
    const std::size_t mark0 = rig.mark(0);
    rig.console().cboEVBinstance->setCurrentIndex(1);
    EXPECT_EQ(sentSince(rig, 0, 1), usualReadBack());
    EXPECT_EQ(rig.mark(0), mark0);
}

TEST(ConsoleLoad, CancelInALinkBoxDuringTheReadBackStopsEverything) {
    Rig rig;
    rig.board().dropAnswers(1);  // the LED query goes unanswered; the script answers Cancel
    rig.chooseTolvane();
    ASSERT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(rig.dialogs.shown[0].text, "Please check USB connection.\r\ncheckStatus");
    EXPECT_EQ(rig.exit.count, 1);
    EXPECT_EQ(sentSince(rig, 0), (std::vector<std::string>{request({1, CMD_LED, SUB_GET})}));
    EXPECT_EQ(rig.bus.openHandleCount(), 0);
    EXPECT_FALSE(rig.program.hasPanel());
}

TEST(ConsoleLeds, AnswersEchoBackOnlyChangedBoxesAndClicksSendBothStates) {
    Rig rig;
    rig.board().settings.leds = 0x01;
    rig.chooseTolvane();
    frmMain& console = rig.console();
    EXPECT_EQ(sentSince(rig, 0)[1], request({1, CMD_LED, SUB_SET, 1}));
    EXPECT_EQ(checkedIndexes(console.chkLED), (std::vector<int>{0}));

    const std::vector<std::string> get{request({1, CMD_LED, SUB_GET})};
    std::size_t mark = rig.mark();
    console.getLED();  // the answer matches the boxes
    EXPECT_EQ(sentSince(rig, mark), get);

    // From both off to both on: each box echoes in turn, the second with both bits.
    console.chkLED[0]->setChecked(false);
    rig.board().settings.leds = 0x03;
    mark = rig.mark();
    console.getLED();
    EXPECT_EQ(sentSince(rig, mark), (std::vector<std::string>{get[0], request({1, CMD_LED, SUB_SET, 1}),
                                                              request({1, CMD_LED, SUB_SET, 3})}));

    mark = rig.mark();
    console.chkLED[0]->setChecked(false);
    EXPECT_EQ(sentSince(rig, mark), (std::vector<std::string>{request({1, CMD_LED, SUB_SET, 2})}));
    EXPECT_EQ(rig.board().settings.leds, 0x02);
}

TEST(ConsoleClocks, ListsSelectTheCurrentCodesAndAPickedRowSendsItsCode) {
    Rig rig;
    rig.chooseTolvane();
    frmMain& console = rig.console();
    EXPECT_EQ(console.cboSMBusFrequency->count(), 120);
    EXPECT_EQ(console.cboSMBusFrequency->currentText(), "400");
    EXPECT_EQ(console.cboSPIclock->count(), 24);
    EXPECT_EQ(console.cboSPIclock->currentText(), "2");

    const std::size_t mark = rig.mark();
    console.cboSMBusFrequency->setCurrentIndex(console.cboSMBusFrequency->findText("4000"));
    console.cboSPIclock->setCurrentIndex(console.cboSPIclock->findText("12"));
    EXPECT_EQ(sentSince(rig, mark), (std::vector<std::string>{request({1, CMD_I2C_CLOCK, SUB_SET, 3}),
                                                              request({1, CMD_SPI_CLOCK, SUB_SET, 0})}));
}

TEST(ConsoleClocks, ACurrentCodeWithoutARowSelectsNothingAndSendsNothing) {
    Rig rig;
    sim::BridgeSettings& settings = rig.board().settings;
    settings.sclCode = 200;  // 60 kHz
    settings.spiBaseMHz = 12;
    settings.spiCode = 23;  // 250 kHz
    rig.chooseTolvane();
    EXPECT_EQ(rig.console().cboSMBusFrequency->currentIndex(), -1);
    EXPECT_EQ(rig.console().cboSPIclock->count(), 12);
    EXPECT_EQ(rig.console().cboSPIclock->currentIndex(), -1);
    for (const Report& report : rig.received()) EXPECT_NE(report[2], SUB_SET) << int(report[1]);
}

TEST(ConsoleReadBack, OptionsAndPortConfigurationSetTheBoxesAndSendNothingBack) {
    Rig rig;
    sim::BridgeSettings& settings = rig.board().settings;
    settings.i2cOptions = 0x02;
    settings.extHold = 0x01;
    settings.spiOptions = 0x06;
    settings.port1PushPull = 0x81;
    settings.port2PushPull = 0xFA;  // port 2 has four pins
    settings.pullUpsDisabled = 2;   // neither 0 nor 1: still reads as disabled
    rig.chooseTolvane();
    frmMain& c = rig.console();
    EXPECT_EQ(sentSince(rig, 0), usualReadBack());
    const std::vector<QCheckBox*> options{c.chkRepeatedStart, c.chkStoppedWrite, c.chkExtendHold,
                                          c.chkSPIckpol,      c.chkSPIckpha,     c.chkSPIss};
    EXPECT_EQ(checkedIndexes(options), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(checkedIndexes(c.chkOpenCollectorP1), (std::vector<int>{0, 7}));
    EXPECT_EQ(checkedIndexes(c.chkOpenCollectorP2), (std::vector<int>{1, 3}));
    EXPECT_TRUE(c.chkWeakPullUpDisable->isChecked());
    EXPECT_FALSE(c.UpdatingControls);
}

TEST(ConsoleReadBack, ASampleShowsBothPortsAndSendsOnlyItsRequest) {
    Rig rig;
    rig.chooseTolvane();
    frmMain& console = rig.console();
    rig.board().settings.port1Levels = 0xA5;
    rig.board().settings.port2Levels = 0x3C;
    const std::size_t mark = rig.mark();
    console.getGPvalue();
    EXPECT_EQ(sentSince(rig, mark), (std::vector<std::string>{request({1, CMD_GP_VALUE, SUB_GET, 1})}));
    EXPECT_EQ(console.lblGPReadVal[0]->text(), "A5");
    EXPECT_EQ(console.lblGPReadVal[1]->text(), "3C");
    EXPECT_EQ(console.GPvalueP1, 0xA5);
    EXPECT_EQ(checkedIndexes(console.chkGPvalueP1), (std::vector<int>{0, 2, 5, 7}));
    EXPECT_EQ(checkedIndexes(console.chkGPvalueP2), (std::vector<int>{2, 3}));  // bits 4, 5 only in the label
}

}  // namespace
