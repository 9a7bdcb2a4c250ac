#pragma once

#include "platform/services.h"

// The services with their test doubles: a fake clock, scripted dialogs, an exit that only records.
struct TestServices {
    FakeClock clock;
    EventPump events;
    ScriptedDialogs dialogs;
    RecordingExit exit;
    Services services{clock, events, dialogs, exit};
};
