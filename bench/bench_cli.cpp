// tolvane-cli's collect on the realistic simulated board with the real clock: its rate at interval 0
// against the board's own exchange rate (one two-register read), and, at 10 ms, how late each reading
// starts against its due time; four boards side by side against one, and how far apart their readings
// start.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "board/precise_wait.h"
#include "board/windowless_services.h"
#include "boardlink/board_link.h"
#include "cli/cli.h"
#include "sim/sim_bus.h"
#include "tests/doubles/forwarding_transport.h"

namespace {

std::int64_t nowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Stamps each request for the count registers R4..R5 with the real time it goes out: a reading's start
// as the board sees it.
class StampingWire final : public ForwardingTransport {
public:
    using ForwardingTransport::ForwardingTransport;
    bool write(HidHandle handle, const Report& report) override {
        if (report[1] == 6 && report[2] == 0x89 && report[5] == 4) readingNs.push_back(nowNs());
        return ForwardingTransport::write(handle, report);
    }

    std::vector<std::int64_t> readingNs;
};

// What tolvane-cli writes to standard output for these arguments, on `wire` and the real clock.
std::string runTool(HidTransport& wire, Clock& clock, const QStringList& arguments) {
    PreciseWait wait;
    SystemCalendar calendar;
    std::ostringstream out, err;
    CliSystem system{[&wire](const BoardOptions&) -> HidTransport* { return &wire; },
                     clock,
                     wait,
                     calendar,
                     out,
                     err,
                     false,
                     [] { return false; }};
    runCli(arguments, system);
    return out.str();
}

// One simulated board answering as the hardware does, on the real clock.
struct RealTimeBoard {
    SteadyClock clock;
    sim::SimBus bus{clock, sim::Timing::Realistic};
    StampingWire wire{bus};

    RealTimeBoard() {
        sim::SimBoard& board = bus.addBoard();
        board.chip.setLight(sim::LightSource::constant(300));
        board.chip.setReg(0, 0x80);
    }

    // The rows tolvane-cli writes for these arguments.
    std::string collect(const QStringList& arguments) {
        return runTool(wire, clock, QStringList{"collect"} + arguments);
    }
};

double msBetween(std::int64_t fromNs, std::int64_t toNs) {
    return static_cast<double>(toNs - fromNs) * 1e-6;
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

void BM_CliRateAtIntervalZero(benchmark::State& state) {
    constexpr int kReadings = 1000;
    for (auto _ : state) {
        RealTimeBoard board;
        SystemCalendar calendar;
        PreciseWait wait;
        WindowlessServices services(board.clock, wait, calendar);
        BoardLink link(board.bus, services.services);
        link.FindBoard();
        std::vector<std::uint8_t> data(2);
        const std::int64_t start = nowNs();
        for (int i = 0; i < kReadings; ++i) link.I2CRead(0x88, 2, 1, data, {0x04});
        const double exchangeMs = msBetween(start, nowNs()) / kReadings;
        link.CloseBoards();

        board.collect({"--interval", "0", "--count", QString::number(kReadings)});
        const std::vector<std::int64_t>& at = board.wire.readingNs;
        const double readingMs = msBetween(at.front(), at.back()) / static_cast<double>(at.size() - 1);
        state.counters["exchange_ms"] = exchangeMs;
        state.counters["reading_ms"] = readingMs;
        state.counters["share_of_exchange_rate"] = exchangeMs / readingMs;
    }
}
BENCHMARK(BM_CliRateAtIntervalZero)->Iterations(1)->Unit(benchmark::kMillisecond);

// Reading k is due at start + 10 k ms on the tool's millisecond clock, whose start the rows' elapsed
// column gives away: start = the clock at a reading's request - its elapsed_ms, the least such value
// (a request can go out in the millisecond after its reading started, never before).
void BM_CliLatenessAtTenMilliseconds(benchmark::State& state) {
    constexpr int kReadings = 500;
    for (auto _ : state) {
        RealTimeBoard board;
        std::istringstream rows(board.collect({"--interval", "10", "--count", QString::number(kReadings)}));
        std::string line;
        std::getline(rows, line);
        std::vector<std::int64_t> elapsed;
        while (std::getline(rows, line)) elapsed.push_back(std::stoll(line.substr(line.find(',') + 1)));
        const std::vector<std::int64_t>& at = board.wire.readingNs;
        std::int64_t startMs = at[0] / 1000000 - elapsed[0];
        for (std::size_t k = 0; k < at.size(); ++k) startMs = std::min(startMs, at[k] / 1000000 - elapsed[k]);
        std::vector<double> lateMs;
        for (std::size_t k = 0; k < at.size(); ++k)
            lateMs.push_back(msBetween((startMs + 10 * static_cast<std::int64_t>(k)) * 1000000, at[k]));
        state.counters["late_ms_p50"] = percentile(lateMs, 0.5);
        state.counters["late_ms_p99"] = percentile(lateMs, 0.99);
        state.counters["late_ms_max"] = percentile(lateMs, 1.0);
        state.counters["readings"] = static_cast<double>(at.size());
    }
}
BENCHMARK(BM_CliLatenessAtTenMilliseconds)->Iterations(1)->Unit(benchmark::kMillisecond);

// Simulated boards side by side on one bus, on the real clock, each request for the count stamped with
// the board it goes to (a board's stamps are written by its own thread only).
struct RealTimeBoards {
    class StampingWire final : public ForwardingTransport {
    public:
        StampingWire(HidTransport& bus, int boards) : ForwardingTransport(bus), readingNs(boards) {}
        HidHandle open(const std::string& path) override {
            const HidHandle handle = ForwardingTransport::open(path);
            boardOf_[handle] = std::stoi(path.substr(path.find(':') + 1));
            return handle;
        }
        bool write(HidHandle handle, const Report& report) override {
            if (report[1] == 6 && report[2] == 0x89 && report[5] == 4)
                readingNs[static_cast<std::size_t>(boardOf_.at(handle))].push_back(nowNs());
            return ForwardingTransport::write(handle, report);
        }
        std::vector<std::vector<std::int64_t>> readingNs;

    private:
        std::map<HidHandle, int> boardOf_;  // filled before the run's threads start
    };

    SteadyClock clock;
    sim::SimBus bus{clock, sim::Timing::Realistic};
    StampingWire wire;

    explicit RealTimeBoards(int boards) : wire(bus, boards) {
        for (int n = 0; n < boards; ++n) {
            sim::SimBoard& board = bus.addBoard("SN-" + std::to_string(n));
            board.chip.setLight(sim::LightSource::constant(300));
            board.chip.setReg(0, 0x80);
        }
    }

    void collect(const QStringList& arguments) {
        runTool(wire, clock, QStringList{"--board", "all", "collect"} + arguments);
    }

    // Readings a second, all boards together.
    double perSecond() const {
        double total = 0;
        for (const std::vector<std::int64_t>& at : wire.readingNs)
            total += static_cast<double>(at.size() - 1) / (msBetween(at.front(), at.back()) * 1e-3);
        return total;
    }
};

// Four boards at interval 0 against one: N independent boards take N times the readings.
void BM_FourBoardsAtIntervalZero(benchmark::State& state) {
    constexpr int kReadings = 1000;
    for (auto _ : state) {
        RealTimeBoards one(1), four(4);
        one.collect({"--interval", "0", "--count", QString::number(kReadings)});
        four.collect({"--interval", "0", "--count", QString::number(kReadings)});
        state.counters["one_board_per_s"] = one.perSecond();
        state.counters["four_boards_per_s"] = four.perSecond();
        state.counters["share_of_four_times_one"] = four.perSecond() / (4 * one.perSecond());
    }
}
BENCHMARK(BM_FourBoardsAtIntervalZero)->Iterations(1)->Unit(benchmark::kMillisecond);

// Four boards at 10 ms: how far apart the boards' requests for reading k go out.
void BM_FourBoardsSpreadAtTenMilliseconds(benchmark::State& state) {
    constexpr int kReadings = 300;
    for (auto _ : state) {
        RealTimeBoards four(4);
        four.collect({"--interval", "10", "--count", QString::number(kReadings)});
        std::vector<double> spreadMs;
        for (std::size_t k = 0; k < kReadings; ++k) {
            std::int64_t first = four.wire.readingNs[0][k], last = first;
            for (const std::vector<std::int64_t>& at : four.wire.readingNs) {
                first = std::min(first, at[k]);
                last = std::max(last, at[k]);
            }
            spreadMs.push_back(msBetween(first, last));
        }
        state.counters["spread_ms_p50"] = percentile(spreadMs, 0.5);
        state.counters["spread_ms_p99"] = percentile(spreadMs, 0.99);
        state.counters["spread_ms_max"] = percentile(spreadMs, 1.0);
    }
}
BENCHMARK(BM_FourBoardsSpreadAtTenMilliseconds)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
