// The program on the simulated evaluation board: real-time answers and a slowly moving light level,
// for trying the program without the hardware.
#include <QApplication>

#include "shell/program.h"
#include "sim/sim_bus.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tolvane");
    SteadyClock clock;
    EventPump events;
    QtDialogs dialogs;
    ProcessExit exit;
    Services services{clock, events, dialogs, exit};
    sim::SimBus bus(clock, sim::Timing::Realistic);
    sim::SimBoard& board = bus.addBoard();
    board.chip.setLight(sim::LightSource::wave(400, 250, 20000, 4, 2019));
    Program program(services, bus);
    exit.beforeExit = [&program] { program.link.CloseBoards(); };
    program.start();
    return app.exec();
}
