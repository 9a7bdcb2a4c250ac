// The program for real evaluation boards, reached through hidapi.
#include <QApplication>

#include "boardlink/hidapi_transport.h"
#include "shell/program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Tolvane");
    SteadyClock clock;
    EventPump events;
    QtDialogs dialogs;
    ProcessExit exit;
    Services services{clock, events, dialogs, exit};
    HidapiTransport transport;
    Program program(services, transport);
    exit.beforeExit = [&program] { program.link.CloseBoards(); };
    program.start();
    return app.exec();
}
