// The busy sign while the link waits for an answer: shown only once a quarter second has gone by,
// restored as soon as the wait ends, never left behind.
#include <functional>

#include "tests/boardlink/link_rig.h"

namespace {

struct BusyCursor : LinkTest {
    sim::SimBoard& board = bus.addBoard();

    BusyCursor() { link.FindBoard(); }

    std::int16_t readR0() {
        Bytes data(1);
        return link.I2CRead(0x88, 1, 1, data, {0x00});
    }
};

TEST_F(BusyCursor, ShowsOnlyForAnAnswerStillAwaitedAfterAQuarterSecond) {
    struct Case {
        const char* board;
        std::function<void(sim::SimBoard&)> fault;
        std::int16_t result;
        std::uint32_t waited;                // ms after the request
        std::vector<std::uint32_t> shownAt;  // ms after the request
        std::vector<std::uint32_t> restoredAt;
    };
    const auto late = [](std::uint32_t ms) { return [ms](sim::SimBoard& b) { b.delayNextAnswer(ms); }; };
    const std::vector<Case> cases = {
        {"answers at once", [](sim::SimBoard&) {}, TransferSuccess, 0, {}, {}},
        {"answers after 250 ms", late(250), TransferSuccess, 250, {}, {}},
        {"answers after 400 ms", late(400), TransferSuccess, 400, {250}, {400}},
        {"drops the answer",
         [](sim::SimBoard& b) { b.dropAnswers(1); },
         TransferNoAnswer,
         6000,
         {250},
         {6000}},
        {"answers after the time-out", late(7000), TransferNoAnswer, 6000, {250}, {6000}},
    };
    for (const Case& c : cases) {
        clock.advance(10000);  // what came late in the case before has arrived: drop it
        link.DrainQueuedInput();
        busy.shownAtMs.clear();
        busy.restoredAtMs.clear();
        const std::uint32_t start = clock.milliseconds();
        c.fault(board);

        EXPECT_EQ(readR0(), c.result) << c.board;
        const auto since = [start](std::vector<std::uint32_t> times) {
            for (std::uint32_t& t : times) t -= start;
            return times;
        };
        EXPECT_EQ(since(busy.shownAtMs), c.shownAt) << c.board;
        EXPECT_EQ(since(busy.restoredAtMs), c.restoredAt) << c.board;
        EXPECT_EQ(clock.milliseconds() - start, c.waited)
            << c.board << ": the wait is as long as it ever was";
    }
}

TEST_F(BusyCursor, IsGoneBeforeTheBoxAboutAMissingAnswerShows) {
    board.dropAnswers(1);
    bool showingWhenAsked = true;
    dialogs.answerWith([&](const MessageBoxRequest&) {
        showingWhenAsked = busy.showing();
        return AnswerCancel;
    });
    EXPECT_EQ(link.QueryBoard({CMD_LED, SUB_GET}), 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_FALSE(showingWhenAsked);
    EXPECT_EQ(busy.shownAtMs, std::vector<std::uint32_t>{1000u + 1 + 250}) << "after the flush";
    EXPECT_EQ(busy.restoredAtMs, std::vector<std::uint32_t>{1000u + 1 + 6000});
}

TEST_F(BusyCursor, AnUnpluggedBoardFailsAtOnceWithoutIt) {
    bus.unplug(board);
    EXPECT_EQ(link.ReadAnswer(), TransferNoAnswer);
    EXPECT_EQ(clock.milliseconds(), 1000u);
    EXPECT_TRUE(busy.shownAtMs.empty());
}

}  // namespace
