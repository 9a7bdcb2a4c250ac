#include "board/multi_board_run.h"

MultiBoardRun::MultiBoardRun(std::vector<BoardSession*> boards, const RunPlan& plan,
                             std::function<bool()> stopRequested)
    : boards_(std::move(boards)), stopRequested_(std::move(stopRequested)) {
    for (BoardSession* board : boards_)
        runs_.push_back(
            std::make_unique<ReadingRun>(*board, plan, [this] { return stopping_ || stopRequested_(); }));
}

MultiBoardRun::~MultiBoardRun() {
    stop();
    threads_.clear();  // joins
}

BoardFailure MultiBoardRun::named(const BoardFailed& failed) const {
    return {failed.failure.fault, boards_[failed.board]->name() + ": " + failed.failure.message};
}

std::optional<BoardFailed> MultiBoardRun::begin() {
    for (std::size_t board = 0; board < runs_.size(); ++board)
        if (std::optional<BoardFailure> failure = runs_[board]->begin()) return BoardFailed{board, *failure};
    return std::nullopt;
}

void MultiBoardRun::start() {
    if (boards_.empty()) return;
    // A moment ahead, so that every thread is there, waiting, when reading 0 falls due.
    const std::uint32_t startMs = boards_[0]->services().clock.milliseconds() + kStartLeadMs;
    running_ = runs_.size();
    for (std::size_t board = 0; board < runs_.size(); ++board) {
        runs_[board]->startAt(startMs);
        threads_.emplace_back([this, board] { take(board); });
    }
}

std::optional<std::variant<BoardRow, BoardFailed>> MultiBoardRun::next() {
    std::unique_lock lock(mutex_);
    taken_.wait(lock, [this] { return !events_.empty() || running_ == 0; });
    if (events_.empty()) return std::nullopt;
    Event event = std::move(events_.front());
    events_.pop_front();
    return event;
}

void MultiBoardRun::take(std::size_t board) {
    ReadingRun& run = *runs_[board];
    while (std::optional<ReadingRow> row = run.next()) hand(BoardRow{board, *row});
    if (run.failure()) hand(BoardFailed{board, *run.failure()});
    const std::lock_guard lock(mutex_);
    --running_;
    taken_.notify_all();
}

void MultiBoardRun::hand(Event event) {
    const std::lock_guard lock(mutex_);
    events_.push_back(std::move(event));
    taken_.notify_all();
}
