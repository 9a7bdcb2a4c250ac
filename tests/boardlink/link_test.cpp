// The link on its own, as tolvane-cli uses it, on one simulated board and a fake clock: the I2C bytes on
// the wire, the results and status values, which board is current, stale input and the busy sign.
#include <gtest/gtest.h>

#include <functional>

#include "boardlink/board_link.h"
#include "sim/sim_bus.h"
#include "tests/doubles/reports.h"
#include "tests/doubles/test_services.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Link : ::testing::Test, TestServices {
    sim::SimBus bus{clock};
    sim::SimBoard& board = bus.addBoard();
    BoardLink link{bus, services};

    Link() {
        link.setDevice("Tolvane", 0x88);
        link.nameBoard();
        link.FindBoard();
        for (int i = 0; i < 4; ++i) board.chip.setReg(i, static_cast<std::uint8_t>(0x05 + 0x11 * i));
    }
    static Bytes bytes(const Report& report, std::size_t first, std::size_t last) {
        return {report.begin() + static_cast<std::ptrdiff_t>(first),
                report.begin() + static_cast<std::ptrdiff_t>(last) + 1};
    }
    Bytes sent(std::size_t index, std::size_t first, std::size_t last) const {
        return bytes(board.received.at(index).bytes, first, last);
    }
};

TEST_F(Link, ReadAndWriteSendAddressCountRegisterAndDataAndKeepTheRestOfTheReport) {
    Bytes data(4, 0xEE);
    EXPECT_EQ(link.I2CRead(0x88, 4, 1, data, {0x10}), TransferSuccess);
    EXPECT_EQ(sent(0, 1, 5), (Bytes{0x06, 0x89, 0x04, 0x01, 0x10}));
    EXPECT_EQ(link.I2CWrite(0x88, 2, 1, {0xAA, 0xBB}, {0x03}), TransferSuccess);
    EXPECT_EQ(sent(1, 1, 7), (Bytes{0x06, 0x88, 0x02, 0x01, 0x03, 0xAA, 0xBB}));
    EXPECT_EQ(board.chip.reg(3), 0xAA);

    // Byte 0 and the bytes after the payload keep what the previous exchange left.
    link.FillReportBuffer(0x5A);
    Report expected = link.ReportBuffer();
    link.I2CWrite(0x88, 1, 1, {0x12}, {0x02});
    const Bytes head{0x06, 0x88, 0x01, 0x01, 0x02, 0x12};
    std::copy(head.begin(), head.end(), expected.begin() + 1);
    EXPECT_EQ(board.received.at(2).bytes, expected);

    // A current-address read sends no register byte: from byte 5 on it carries the last answer.
    link.I2CRead(0x88, 4, 1, data, {0x00});
    const Report answer = link.ReportBuffer();
    link.I2CRead(0x88, 1, 0, data, {});
    EXPECT_EQ(sent(4, 0, 4), (Bytes{answer[0], 0x06, 0x89, 0x01, 0x00}));
    EXPECT_EQ(sent(4, 5, 63), bytes(answer, 5, 63));
    EXPECT_EQ(sent(4, 5, 5), Bytes{0xAA});  // the last data byte of the previous answer
}

// Each row starts from the status values the row before left; failed reads leave the data alone.
TEST_F(Link, EachOutcomeReturnsItsResultAndSetsTheStatusValues) {
    using B = sim::SimBoard;
    const struct {
        const char* what;
        std::function<void(B&)> fault;
        char transfer;  // r: read 4 from R0, w: write 1 byte, a: the answer alone
        int result, transferError, answerStatus, waitedMs, busySigns;
    } cases[] = {
        // results: 8 success, 1 not acknowledged, 2 no answer, 4 write failed
        {"answered", [](B&) {}, 'r', 8, 0, 8, 0, 0},
        {"no answer", [](B& b) { b.dropAnswers(1); }, 'r', 2, 1, 8, 6000, 1},
        {"no acknowledge", [](B& b) { b.chip.acknowledges = false; }, 'r', 1, 0, 1, 0, 1},
        {"status 2", [](B& b) { b.chip.acknowledges = true, b.answerStatus(2); }, 'w', 1, 0, 1, 0, 1},
        {"unplugged write", [this](B& b) { bus.unplug(b); }, 'w', 4, 0, 1, 0, 1},
        {"unplugged read", [](B&) {}, 'r', 4, 4, 1, 0, 1},
        {"unplugged answer", [](B&) {}, 'a', 2, 1, 1, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.fault(board);
        Bytes data(6, 0xEE);
        const std::uint32_t start = clock.milliseconds();
        EXPECT_EQ(c.transfer == 'r'   ? link.I2CRead(0x88, 4, 1, data, {0x00})
                  : c.transfer == 'w' ? link.I2CWrite(0x88, 1, 1, {0x01}, {0x00})
                                      : link.ReadAnswer(),
                  c.result);
        EXPECT_EQ(link.TransferError(), c.transferError);
        EXPECT_EQ(link.AnswerStatus(), c.answerStatus);
        EXPECT_EQ(clock.milliseconds() - start, static_cast<std::uint32_t>(c.waitedMs));
        EXPECT_EQ(busy.shownAtMs.size(), static_cast<std::size_t>(c.busySigns));
        EXPECT_EQ(data, c.result != 8 || c.transfer != 'r' ? Bytes(6, 0xEE)
                                                           : (Bytes{0x05, 0x16, 0x27, 0x38, 0xEE, 0xEE}));
        EXPECT_TRUE(!c.waitedMs || link.ReportBuffer() == board.received.back().bytes) << "still the request";
    }
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Link, ArgumentsBeyondTheReportOrTheListsSendNothing) {
    link.FillReportBuffer(0x5A);
    const Report before = link.ReportBuffer();
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
    EXPECT_EQ(link.ReportBuffer(), before);

    // The limits themselves still go out.
    EXPECT_EQ(link.I2CRead(0x88, 62, 1, many, {0x00}), TransferSuccess);
    EXPECT_EQ(link.I2CWrite(0x88, 58, 1, many, {0x08}), TransferSuccess);
    EXPECT_EQ(board.received.size(), 2u);
}

// Without a console the first board found is current. A late answer still queued is discarded before
// a query goes out (the flush read waits 1 ms).
TEST_F(Link, QueryBoardAsksTheFirstBoardAndDiscardsStaleInputFirst) {
    sim::SimBoard& second = bus.addBoard();
    link.FindBoard();
    Bytes data(2);
    board.delayNextAnswer(7000);
    ASSERT_EQ(link.I2CRead(0x88, 2, 1, data, {0x00}), TransferNoAnswer);
    clock.advance(2000);  // the late I2C answer is queued by now
    board.settings.port1PushPull = 0xA5;
    link.FillReportBuffer(0xEE);

    ASSERT_EQ(link.QueryBoard({CMD_GP_CONFIG, SUB_GET}), TransferSuccess);
    EXPECT_EQ(board.received.back().bytes, reportOf({1, CMD_GP_CONFIG, SUB_GET}));
    EXPECT_EQ(link.ReportBuffer(), reportOf({1, 0, 0xA5, 0, 0}));
    EXPECT_EQ(clock.milliseconds(), 1000u + 6000 + 2000 + 1);
    EXPECT_TRUE(second.received.empty());
}

}  // namespace
