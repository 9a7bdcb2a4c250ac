// What the demo holds as it collects: the program and its simulated board, with and without the board
// window, after 10,000 and after 100,000 samples at interval 0 on the instant board. An hour at 10 ms is
// 360,000 samples: whatever a sample leaves behind shows here as growth between the two marks.
//
// The measure is the heap in use, mallinfo2's uordblks (small blocks) plus hblkhd (blocks malloc maps on
// their own, as a large growing vector gets): what the process holds, to the byte. Resident memory
// (reported beside it) also counts pages malloc keeps after a free and library pages touched late, so it
// moves by hundreds of kilobytes with no leak at all.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "bench/collecting_program.h"
#include "demo/board_window.h"
#include "sim/demo_board.h"

namespace {

constexpr long kFirstMark = 10'000;
constexpr long kSecondMark = 100'000;
constexpr double kAllowedGrowthKb = 1024;
// The window's timer refreshes it four times a second: every 25 samples at 10 ms.
constexpr long kSamplesPerRefresh = 25;

double heapInUseKb() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / 1024;
}

double residentKb() {
    std::ifstream statm("/proc/self/statm");
    long size = 0;
    long resident = 0;
    statm >> size >> resident;
    return static_cast<double>(resident * sysconf(_SC_PAGESIZE)) / 1024;
}

struct Held {
    double heapKb = 0;
    double residentKb = 0;
};

Held heldNow() {
    return {heapInUseKb(), residentKb()};
}

// Arg 1: with the demo's board window shown and refreshed; arg 0: the program and the board alone.
void BM_DemoHeldAfterOneHundredThousandSamples(benchmark::State& state) {
    const bool withWindow = state.range(0) != 0;
    for (auto _ : state) {
        FakeClock clock;
        FakeDueTimeWait wait(clock);
        CollectingProgram program(clock, wait, sim::Timing::Instant);
        std::unique_ptr<BoardWindow> window;
        if (withWindow) {
            window = std::make_unique<BoardWindow>(program.bus(), program.board(), clock, sim::demoLight());
            window->show();
        }
        Held first;
        Held second;
        program.collectPastTheHistory("0", kSecondMark, [&](long sample) {
            if (window && sample % kSamplesPerRefresh == 0) window->refresh();
            if (sample == kFirstMark) first = heldNow();
            if (sample == kSecondMark) second = heldNow();
        });
        const double growthKb = second.heapKb - first.heapKb;
        state.counters["heap_kb_at_10k"] = first.heapKb;
        state.counters["heap_kb_at_100k"] = second.heapKb;
        state.counters["heap_growth_kb"] = growthKb;
        state.counters["rss_growth_kb"] = second.residentKb - first.residentKb;
        if (growthKb >= kAllowedGrowthKb)
            state.SkipWithError(("heap grew by " + std::to_string(growthKb) + " kB").c_str());
    }
}
BENCHMARK(BM_DemoHeldAfterOneHundredThousandSamples)
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
