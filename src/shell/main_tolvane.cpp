// The program for real evaluation boards, reached through hidapi.
#include <QApplication>

#include "boardlink/hidapi_transport.h"
#include "platform/window_system.h"
#include "shell/run_program.h"

int main(int argc, char** argv) {
    prepareWindowSystem();
    QApplication app(argc, argv);
    SteadyClock clock;
    HidapiTransport transport;
    return runProgram(transport, clock, "tolvane");
}
