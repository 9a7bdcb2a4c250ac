// Cost of one register read through the board link against the simulated board.
#include <benchmark/benchmark.h>

#include "boardlink/board_link.h"
#include "sim/sim_bus.h"

namespace {

class NoDialogs final : public Dialogs {
public:
    int messageBox(const MessageBoxRequest&) override { return AnswerCancel; }
    QString chooseFile(const FileDialogRequest&) override { return {}; }
};

void BM_I2CReadTwoRegisters(benchmark::State& state) {
    FakeClock clock;
    EventPump events;
    NoDialogs dialogs;
    RecordingExit exit;
    Services services{clock, events, dialogs, exit};
    sim::SimBus bus(clock);
    bus.addBoard();
    BoardLink link(bus, services);
    link.FindBoard();
    std::vector<std::uint8_t> data(2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(link.I2CRead(0x88, 2, 1, data, {0x04}));
    }
}
BENCHMARK(BM_I2CReadTwoRegisters);

}  // namespace

BENCHMARK_MAIN();
