#include "board/reading_run.h"

#include <algorithm>

#include "chip/chip_map.h"

namespace {

// A long wait is cut into pieces this long, so that a stop is heard while it waits.
constexpr std::int64_t kStopCheckMs = 100;

}  // namespace

ReadingRun::ReadingRun(BoardSession& board, const RunPlan& plan, std::function<bool()> stopRequested)
    : board_(board), plan_(plan), stopRequested_(std::move(stopRequested)), services_(board.services()) {}

std::optional<BoardFailure> ReadingRun::begin() {
    const RegisterOutcome setup = board_.read(0, 2);
    if (setup.failure) return setup.failure;
    r0_ = setup.registers.values[0];
    r1_ = setup.registers.values[1];
    return std::nullopt;
}

std::optional<ReadingRow> ReadingRun::next() {
    if (seq_ == 0) last_ = services_.clock.milliseconds();
    if (failure_ || !waitFor(seq_)) return std::nullopt;
    const std::int64_t elapsedMs = elapsed();
    const QDateTime time = services_.calendar.now();
    const RegisterOutcome count = board_.read(kCountRegister, 2);
    if (count.failure) {
        failure_ = count.failure;
        return std::nullopt;
    }
    const std::vector<std::uint8_t>& bytes = count.registers.values;
    return ReadingRow{time, elapsedMs, seq_++, countOf(bytes[0], bytes[1]), r0_, r1_};
}

bool ReadingRun::waitFor(std::int64_t seq) {
    if (plan_.count && seq >= *plan_.count) return false;
    const std::int64_t due = seq * plan_.intervalMs;
    // A run behind its schedule (a board slower than the interval, or interval 0) is over when the
    // clock says so, not only when the next reading's due time does.
    if (plan_.durationMs && std::max(due, elapsed()) >= *plan_.durationMs) return false;
    for (;;) {
        if (stopRequested_()) return false;
        const std::int64_t remaining = due - elapsed();
        if (remaining <= 0) return true;
        services_.dueTimeWait.waitUntil(last_ +
                                        static_cast<std::uint32_t>(std::min(remaining, kStopCheckMs)));
    }
}

std::int64_t ReadingRun::elapsed() {
    const std::uint32_t now = services_.clock.milliseconds();
    elapsed_ += static_cast<std::uint32_t>(now - last_);
    last_ = now;
    return elapsed_;
}
