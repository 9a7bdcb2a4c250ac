// Cost of the program's own work per register access, against the instant simulated board: the
// board link alone, and a whole read-back through the panel and the console.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "boardlink/board_link.h"
#include "platform/window_system.h"
#include "sensor/frmTolvane.h"
#include "shell/frmStartup.h"
#include "shell/program.h"
#include "sim/sim_bus.h"
#include "tests/doubles/test_services.h"

namespace {

void BM_I2CReadTwoRegisters(benchmark::State& state) {
    TestServices test;
    sim::SimBus bus(test.clock);
    bus.addBoard();
    BoardLink link(bus, test.services);
    link.FindBoard();
    std::vector<std::uint8_t> data(2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(link.I2CRead(0x88, 2, 1, data, {0x04}));
    }
}
BENCHMARK(BM_I2CReadTwoRegisters);

void BM_PanelReadsRegistersR0ToR3(benchmark::State& state) {
    TestServices test;
    sim::SimBus bus(test.clock);
    bus.addBoard();
    Program program(test.services, bus);
    program.start();
    program.startup().cboDeviceSelect->setCurrentIndex(1);
    frmTolvane& panel = program.panel();
    for (auto _ : state) {
        panel.Read_Registers();
    }
}
BENCHMARK(BM_PanelReadsRegistersR0ToR3);

}  // namespace

int main(int argc, char** argv) {
    // Offscreen unless told otherwise (`make bench` also runs the processor figure on an X server).
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    prepareWindowSystem();  // as the programs do
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
