// I2C transactions through the link: the bytes on the wire, the results and the shared status values.
#include <numeric>

#include "tests/boardlink/link_rig.h"

namespace {

struct I2CTransfer : LinkTest {
    I2CTransfer() {
        for (int i = 0; i < 4; ++i) board.chip.setReg(i, static_cast<std::uint8_t>(0x05 + 0x11 * i));
    }
    Bytes sent(std::size_t index, std::size_t first, std::size_t last) const {
        return bytes(board.received.at(index).bytes, first, last);
    }
};

TEST_F(I2CTransfer, ReadSendsAddressCountAndRegisterAndCopiesCountAnswerBytes) {
    Bytes data(4, 0xEE);
    EXPECT_EQ(link.I2CRead(0x88, 4, 1, data, {0x10}), TransferSuccess);
    EXPECT_EQ(sent(0, 1, 5), (Bytes{0x06, 0x89, 0x04, 0x01, 0x10}));
    EXPECT_EQ(data, (Bytes{0, 0, 0, 0}));  // registers past R7 read 0

    Bytes wide(6, 0xEE);
    EXPECT_EQ(link.I2CRead(0x88, 4, 1, wide, {0x00}), TransferSuccess);
    EXPECT_EQ(wide, (Bytes{0x05, 0x16, 0x27, 0x38, 0xEE, 0xEE}));
    EXPECT_EQ(link.AnswerStatus, TransferSuccess);
    EXPECT_EQ(link.TransferError, 0);
}

TEST_F(I2CTransfer, WriteSendsRegisterThenDataAndReadsOneAnswer) {
    EXPECT_EQ(link.I2CWrite(0x88, 2, 1, {0xAA, 0xBB}, {0x03}), TransferSuccess);
    EXPECT_EQ(sent(0, 1, 7), (Bytes{0x06, 0x88, 0x02, 0x01, 0x03, 0xAA, 0xBB}));
    EXPECT_EQ(board.chip.reg(3), 0xAA);
}

TEST_F(I2CTransfer, ReportsKeepByteZeroAndWhatThePreviousExchangeLeftAfterThePayload) {
    std::iota(link.ReportBuffer.begin(), link.ReportBuffer.end(), std::uint8_t{0x80});
    Report expected = link.ReportBuffer;
    link.I2CWrite(0x88, 1, 1, {0x12}, {0x02});
    const Bytes head{0x06, 0x88, 0x01, 0x01, 0x02, 0x12};
    std::copy(head.begin(), head.end(), expected.begin() + 1);
    EXPECT_EQ(board.received.at(0).bytes, expected);

    // A current-address read sends no register byte: from byte 5 on it carries the last answer.
    Bytes data(4);
    link.I2CRead(0x88, 4, 1, data, {0x00});
    const Report answer = link.ReportBuffer;
    link.I2CRead(0x88, 1, 0, data, {});
    EXPECT_EQ(sent(2, 0, 4), (Bytes{answer[0], 0x06, 0x89, 0x01, 0x00}));
    EXPECT_EQ(sent(2, 5, 63), bytes(answer, 5, 63));
    EXPECT_EQ(sent(2, 5, 5), Bytes{0x38});  // the last data byte of the previous answer
}

TEST_F(I2CTransfer, ANonZeroStatusReturnsOneAndLeavesTheDataAlone) {
    board.chip.acknowledges = false;
    Bytes data(2, 0x5A);
    EXPECT_EQ(link.I2CRead(0x88, 2, 1, data, {0x00}), TransferNotAcknowledged);
    EXPECT_EQ(data, (Bytes{0x5A, 0x5A}));
    EXPECT_EQ(link.AnswerStatus, TransferNotAcknowledged);
    EXPECT_EQ(link.TransferError, 0);
    board.chip.acknowledges = true;
    board.answerStatus(0x02);  // any non-zero status counts
    EXPECT_EQ(link.I2CWrite(0x88, 1, 1, {0x01}, {0x00}), TransferNotAcknowledged);
}

TEST_F(I2CTransfer, AMissingAnswerTimesOutAfterSixSecondsOfClockTime) {
    Bytes data(2, 0x5A);
    ASSERT_EQ(link.I2CRead(0x88, 2, 1, data, {0x00}), TransferSuccess);
    data.assign(2, 0x5A);
    board.dropAnswers(1);
    const std::uint32_t start = clock.milliseconds();

    EXPECT_EQ(link.I2CRead(0x88, 2, 1, data, {0x02}), TransferNoAnswer);
    EXPECT_EQ(clock.milliseconds() - start, 6000u);
    EXPECT_EQ(link.TransferError, 1);
    EXPECT_EQ(link.AnswerStatus, TransferSuccess);  // kept from the last answer
    EXPECT_EQ(data, (Bytes{0x5A, 0x5A}));
    EXPECT_EQ(link.ReportBuffer, board.received.back().bytes);  // still the request
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(I2CTransfer, AFailedWriteReturnsFourWithoutABox) {
    bus.unplug(board);
    Bytes data(1, 0x5A);
    EXPECT_EQ(link.I2CWrite(0x88, 1, 1, {0x01}, {0x00}), TransferWriteFailed);
    EXPECT_EQ(link.TransferError, 0);  // a write transaction leaves it alone
    EXPECT_EQ(link.I2CRead(0x88, 1, 1, data, {0x00}), TransferWriteFailed);
    EXPECT_EQ(link.TransferError, TransferWriteFailed);
    EXPECT_EQ(data, (Bytes{0x5A}));
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(I2CTransfer, ArgumentsBeyondTheReportOrTheListsSendNothing) {
    std::iota(link.ReportBuffer.begin(), link.ReportBuffer.end(), std::uint8_t{0});
    const Report before = link.ReportBuffer;
    Bytes four(4), many(62);
    const Bytes regs(60, 0);

    EXPECT_EQ(link.I2CRead(0x88, 0, 1, four, {0x00}), TransferWriteFailed);
    EXPECT_EQ(link.I2CRead(0x88, 63, 1, many, {0x00}), TransferWriteFailed);   // answer holds 62
    EXPECT_EQ(link.I2CRead(0x88, 1, 60, four, regs), TransferWriteFailed);     // past byte 63
    EXPECT_EQ(link.I2CRead(0x88, 5, 1, four, {0x00}), TransferWriteFailed);    // data too short
    EXPECT_EQ(link.I2CRead(0x88, 1, 2, four, {0x00}), TransferWriteFailed);    // regAddr too short
    EXPECT_EQ(link.I2CRead(0xFF, 1, 1, four, {0x00}), TransferWriteFailed);    // no read form
    EXPECT_EQ(link.I2CWrite(0x88, 59, 1, many, {0x00}), TransferWriteFailed);  // 65 bytes
    EXPECT_EQ(link.I2CWrite(0x88, 5, 1, four, {0x00}), TransferWriteFailed);   // data too short
    EXPECT_TRUE(board.received.empty());
    EXPECT_EQ(link.ReportBuffer, before);

    // The limits themselves still go out.
    EXPECT_EQ(link.I2CRead(0x88, 62, 1, many, {0x00}), TransferSuccess);
    EXPECT_EQ(link.I2CWrite(0x88, 58, 1, many, {0x08}), TransferSuccess);
    EXPECT_EQ(board.received.size(), 2u);
}

}  // namespace
