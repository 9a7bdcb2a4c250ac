#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "board/board_session.h"
#include "readinglog/reading_row.h"

// When a run's readings are taken: reading k is due k intervals after the first (interval 0: each as
// soon as the one before is taken), until `count` readings, `durationMs`, or a stop; without either, until
// a stop.
struct RunPlan {
    std::uint32_t intervalMs = 100;
    std::optional<std::int64_t> count;
    std::optional<std::int64_t> durationMs;
};

// Readings on a schedule that does not drift, handed one at a time to whoever takes them (a CSV file, a
// generator, an array): a board slower than the interval makes a reading late, never the ones after it.
class ReadingRun {
public:
    // `stopRequested` is asked before each reading and at least every 100 ms while one waits its turn.
    ReadingRun(BoardSession& board, const RunPlan& plan, std::function<bool()> stopRequested);

    // Reads what the rows carry: the range, resolution and mode the chip holds now (R0 and R1).
    std::optional<BoardFailure> begin();
    // Waits until the next reading is due and takes it. None once the run is over: its count, its
    // duration, a stop, or a failure, which failure() then gives. Reading 0 is taken at once.
    std::optional<ReadingRow> next();
    const std::optional<BoardFailure>& failure() const { return failure_; }

private:
    // Waits until reading `seq` is due; false when the run ends first.
    bool waitFor(std::int64_t seq);
    // Milliseconds since reading 0; 64 bits, so the 32-bit counter may wrap during a run.
    std::int64_t elapsed();

    BoardSession& board_;
    RunPlan plan_;
    std::function<bool()> stopRequested_;
    Services& services_;
    std::uint8_t r0_ = 0;
    std::uint8_t r1_ = 0;
    std::int64_t seq_ = 0;
    std::uint32_t last_ = 0;
    std::int64_t elapsed_ = 0;
    std::optional<BoardFailure> failure_;
};
