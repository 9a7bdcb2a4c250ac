// The collection loop's costs and timing: software cost of one sample on the instant board, and, on the
// realistic board with the real clock, the sample rate at interval 0, how close samples start to their
// due times at 10 ms, and the processor time while collecting at 100 ms.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

#include "platform/test_services.h"
#include "sensor/frmTolvane.h"
#include "shell/frmStartup.h"
#include "shell/program.h"
#include "sim/sim_bus.h"

namespace {

// A complete program on one simulated board with the panel open, interrupt polling off, so a sample is
// exactly one read of R4..R5.
class CollectingProgram {
public:
    CollectingProgram(Clock& clock, DueTimeWait& wait, sim::Timing timing)
        : bus_(clock, timing), busy_(clock), services_{clock, events_,   dialogs_, exit_,
                                                       wait,  calendar_, busy_} {
        board_ = &bus_.addBoard();
        board_->chip.setLight(sim::LightSource::wave(400, 250, 20000, 4, 2019));
        program_.start();
        program_.startup().cboDeviceSelect->setCurrentIndex(1);
        panel().ChkIpol->setChecked(false);
    }

    frmTolvane& panel() { return program_.panel(); }
    BoardLink& link() { return program_.link; }

    // Collects until `samples` are stored; `onSample` runs once for each stored sample.
    void collect(const char* interval, int samples, const std::function<void()>& onSample = {}) {
        Acquisition& wing = panel().acquisition();
        wing.collection->txtInterval->setText(interval);
        int seen = 0;
        events_.meanwhile = [&] {
            const int stored = wing.history.SampleIndex;
            if (!panel().Collecting || stored == seen) return;
            seen = stored;
            if (onSample) onSample();
            if (stored >= samples) panel().cmdStopData_Click();
        };
        panel().cmdCollectData_Click();
        events_.meanwhile = nullptr;
    }

private:
    sim::SimBus bus_;
    sim::SimBoard* board_ = nullptr;
    EventPump events_;
    ScriptedDialogs dialogs_;
    RecordingExit exit_;
    FixedCalendar calendar_;
    RecordingBusyIndicator busy_;
    Services services_;
    Program program_{services_, bus_};
};

double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

// 1. Software cost of one sample: read, store, indicators, trace point, full-width scroll, display.
void BM_OneSampleOnTheInstantBoard(benchmark::State& state) {
    FakeClock clock;
    FakeDueTimeWait wait(clock);
    CollectingProgram program(clock, wait, sim::Timing::Instant);
    constexpr int kSamples = 1000;
    for (auto _ : state) program.collect("0", kSamples);
    state.counters["us_per_sample"] = benchmark::Counter(
        kSamples * 1e-6, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_OneSampleOnTheInstantBoard)->Unit(benchmark::kMillisecond)->Repetitions(5);

// 2. Samples per second at interval 0 against the board's own exchange rate.
void BM_RateAtIntervalZeroOnTheRealisticBoard(benchmark::State& state) {
    SteadyClock clock;
    EventLoopWait wait(clock);
    CollectingProgram program(clock, wait, sim::Timing::Realistic);
    constexpr int kCount = 500;
    for (auto _ : state) {
        QElapsedTimer exchanges;
        exchanges.start();
        std::vector<std::uint8_t> data(2);
        for (int i = 0; i < kCount; ++i) program.link().I2CRead(0x88, 2, 1, data, {0x04});
        const double exchangeSeconds = exchanges.nsecsElapsed() * 1e-9 / kCount;

        QElapsedTimer samples;
        samples.start();
        program.collect("0", kCount);
        const double sampleSeconds = samples.nsecsElapsed() * 1e-9 / (kCount + 1);
        state.counters["exchange_ms"] = exchangeSeconds * 1e3;
        state.counters["sample_ms"] = sampleSeconds * 1e3;
        state.counters["rate_ratio"] = exchangeSeconds / sampleSeconds;
    }
}
BENCHMARK(BM_RateAtIntervalZeroOnTheRealisticBoard)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// 3. Sample start minus due time at 10 ms: "Command to Record Time" minus the interval, in ms (the
// design starts the read 3 to 4 ms early), and how late the live wait wakes, in microseconds.
void BM_StartTimeAtTenMilliseconds(benchmark::State& state) {
    SteadyClock clock;
    EventLoopWait wait(clock);
    CollectingProgram program(clock, wait, sim::Timing::Realistic);
    for (auto _ : state) {
        std::vector<double> early;
        QLineEdit* toRecord = program.panel().acquisition().collection->txtTime3;
        program.collect("10", 1000, [&] { early.push_back(toRecord->text().toDouble() - 10); });
        state.counters["start_minus_due_p50_ms"] = percentile(early, 0.5);
        state.counters["start_minus_due_p01_ms"] = percentile(early, 0.01);
        state.counters["start_minus_due_p99_ms"] = percentile(early, 0.99);

        std::vector<double> overshoot;
        for (int i = 0; i < 500; ++i) {
            const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(7);
            wait.waitUntil(clock.milliseconds() + 7);
            overshoot.push_back(
                std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - deadline)
                    .count());
        }
        state.counters["wake_late_p50_us"] = percentile(overshoot, 0.5);
        state.counters["wake_late_p99_us"] = percentile(overshoot, 0.99);
    }
}
BENCHMARK(BM_StartTimeAtTenMilliseconds)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// 4. Processor time while collecting at 100 ms for 20 s, as a share of one core.
void BM_ProcessorWhileCollectingAtOneHundredMilliseconds(benchmark::State& state) {
    SteadyClock clock;
    EventLoopWait wait(clock);
    CollectingProgram program(clock, wait, sim::Timing::Realistic);
    for (auto _ : state) {
        QElapsedTimer wall;
        const double before = processorSeconds();
        wall.start();
        program.collect("100", 200);
        const double used = processorSeconds() - before;
        state.counters["cpu_percent_of_core"] = 100 * used / (wall.nsecsElapsed() * 1e-9);
    }
}
BENCHMARK(BM_ProcessorWhileCollectingAtOneHundredMilliseconds)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace
