#pragma once

#include "platform/services.h"

// The services with their test doubles: a fake clock, scripted dialogs, an exit that only records,
// a due-time wait that jumps the fake clock, a calendar that stands still, a busy sign that records.
struct TestServices {
    FakeClock clock;
    EventPump events;
    ScriptedDialogs dialogs;
    RecordingExit exit;
    FakeDueTimeWait dueTimeWait{clock};
    FixedCalendar calendar;
    RecordingBusyIndicator busy{clock};
    Services services{clock, events, dialogs, exit, dueTimeWait, calendar, busy};
};
