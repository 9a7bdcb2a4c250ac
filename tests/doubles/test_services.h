#pragma once

#include "platform/services.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/fake_due_time_wait.h"
#include "tests/doubles/fixed_calendar.h"
#include "tests/doubles/recording_busy_indicator.h"
#include "tests/doubles/recording_exit.h"
#include "tests/doubles/scripted_dialogs.h"
#include "tests/doubles/test_event_pump.h"

// The services with their test doubles: a fake clock, counted event processing with a "meanwhile"
// hook, scripted dialogs, an exit that only records, a due-time wait that jumps the fake clock, a
// calendar that stands still, a busy sign that records.
struct TestServices {
    FakeClock clock;
    TestEventPump events;
    ScriptedDialogs dialogs;
    RecordingExit exit;
    FakeDueTimeWait dueTimeWait{clock};
    FixedCalendar calendar;
    RecordingBusyIndicator busy{clock};
    Services services{clock, events, dialogs, exit, dueTimeWait, calendar, busy};
};
