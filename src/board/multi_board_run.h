#pragma once

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <variant>
#include <vector>

#include "board/reading_run.h"

// A row taken by one of the boards of a run: the board's place in the list the run was given.
struct BoardRow {
    std::size_t board;
    ReadingRow row;
};

// A board that failed: its place in the list, and why. The other boards go on.
struct BoardFailed {
    std::size_t board;
    BoardFailure failure;
};

// Readings from several boards on one schedule, reading k of every board due at the same instant, each
// board on a thread of its own (the boards are independent devices, so N boards take N times the
// readings). The rows are handed out on the caller's thread in the order they were taken.
class MultiBoardRun {
public:
    // `stopRequested` is asked from the boards' threads, as ReadingRun asks it.
    MultiBoardRun(std::vector<BoardSession*> boards, const RunPlan& plan,
                  std::function<bool()> stopRequested);
    // Stops the boards that are still taking readings and waits for them.
    ~MultiBoardRun();
    MultiBoardRun(const MultiBoardRun&) = delete;
    MultiBoardRun& operator=(const MultiBoardRun&) = delete;

    // Reads each board's settings, which its rows carry; the first board that fails stops the start.
    std::optional<BoardFailed> begin();
    // Starts every board's thread; reading 0 of every board is due a moment from now.
    void start();
    static constexpr std::uint32_t kStartLeadMs = 5;
    // Waits for the next row any board takes, or a board that failed; none once every board's run is
    // over.
    std::optional<std::variant<BoardRow, BoardFailed>> next();
    // Ends every board's run after the reading it is taking.
    void stop() { stopping_ = true; }
    // The board's failure in the one line the user is shown, naming the board: "DEMO-2: ...".
    BoardFailure named(const BoardFailed& failed) const;

private:
    using Event = std::variant<BoardRow, BoardFailed>;
    void take(std::size_t board);
    void hand(Event event);

    std::vector<BoardSession*> boards_;
    std::function<bool()> stopRequested_;
    std::vector<std::unique_ptr<ReadingRun>> runs_;
    std::atomic<bool> stopping_ = false;

    std::mutex mutex_;
    std::condition_variable taken_;
    std::deque<Event> events_;  // taken, not yet handed out
    std::size_t running_ = 0;   // boards whose threads still take readings
    std::vector<std::jthread> threads_;
};
