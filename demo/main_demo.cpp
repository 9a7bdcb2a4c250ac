// The program on the simulated evaluation board, with real-time answers, and the board's own window
// beside it to change the light and cause faults: for trying, training and manual testing without
// the hardware.
#include <QApplication>

#include "demo/board_window.h"
#include "platform/window_system.h"
#include "shell/run_program.h"
#include "sim/demo_board.h"

int main(int argc, char** argv) {
    prepareWindowSystem();
    QApplication app(argc, argv);
    SteadyClock clock;
    sim::SimBus bus(clock, sim::Timing::Realistic);
    BoardWindow board(bus, sim::addDemoBoard(bus), clock, sim::demoLight());
    board.placeAtTheRightEdge();
    board.show();
    return runProgram(bus, clock, "tolvane-demo", &board);
}
