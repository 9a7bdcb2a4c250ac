#pragma once

#include <QString>

#include "platform/services.h"

// The services the board link asks for, as a program without windows answers them.

// A link failure is a failure returned, not a Retry box: every box is answered Cancel (or OK), and its
// text kept as one line for the failure's message.
class CancellingDialogs final : public Dialogs {
public:
    int messageBox(const MessageBoxRequest& request) override;
    QString chooseFile(const FileDialogRequest&) override { return {}; }
    QStringList chooseFilesToOpen(const FileDialogRequest&) override { return {}; }
    QString lastText;
};

// The link ends the program after a Cancel; here that only ends the search, which then fails.
class ReturningExit final : public ProgramExit {
protected:
    void end() override {}
};

// No window: no events to let run, no cursor to show while a board keeps us waiting.
class NoEvents final : public EventPump {
public:
    void processEvents() override {}
};

class NoBusySign final : public BusyIndicator {
public:
    void show() override {}
    void restore() override {}
};

struct WindowlessServices {
    WindowlessServices(Clock& clock, DueTimeWait& wait, Calendar& calendar)
        : services{clock, events, dialogs, exit, wait, calendar, busy} {}
    NoEvents events;
    CancellingDialogs dialogs;
    ReturningExit exit;
    NoBusySign busy;
    Services services;
};
