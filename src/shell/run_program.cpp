#include "shell/run_program.h"

#include <QApplication>

#include "common/program_identity.h"
#include "shell/program.h"

int runProgram(HidTransport& transport, Clock& clock, const QString& desktopFileName, QWidget* companion) {
    setProgramIdentity(desktopFileName);
    EventPump events;
    QtDialogs dialogs;
    ProcessExit exit;
    EventLoopWait dueTimeWait(clock);
    SystemCalendar calendar;
    WaitCursor busy;
    Services services{clock, events, dialogs, exit, dueTimeWait, calendar, busy};
    Program program(services, transport);
    program.setCompanion(companion);
    program.start();
    return QApplication::exec();
}
