#pragma once

#include <QString>

#include "platform/services.h"

// The services the board link asks for, as a program without windows answers them.

// A link failure is an exit status here, not a Retry box: every box is answered Cancel (or OK), and
// its text kept as one line for standard error.
class CancellingDialogs final : public Dialogs {
public:
    int messageBox(const MessageBoxRequest& request) override;
    QString chooseFile(const FileDialogRequest&) override { return {}; }
    QStringList chooseFilesToOpen(const FileDialogRequest&) override { return {}; }
    QString lastText;
};

// The link ends the program after a Cancel; the tool then returns its exit status itself.
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

struct ToolServices {
    ToolServices(Clock& clock, DueTimeWait& wait, Calendar& calendar)
        : services{clock, events, dialogs, exit, wait, calendar, busy} {}
    NoEvents events;
    CancellingDialogs dialogs;
    ReturningExit exit;
    NoBusySign busy;
    Services services;
};
