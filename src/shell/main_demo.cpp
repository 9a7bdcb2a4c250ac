// The program on the simulated evaluation board: real-time answers and a slowly moving light level,
// for trying the program without the hardware.
#include <QApplication>

#include "shell/run_program.h"
#include "sim/demo_board.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    SteadyClock clock;
    sim::SimBus bus(clock, sim::Timing::Realistic);
    sim::addDemoBoard(bus);
    return runProgram(bus, clock, "tolvane-demo");
}
