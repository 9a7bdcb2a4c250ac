#pragma once

#include "platform/busy_indicator.h"
#include "platform/calendar.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/due_time_wait.h"
#include "platform/event_pump.h"
#include "platform/program_exit.h"

// What the program asks of the outside world: time, event processing, dialogs, ending itself, the
// busy sign.
struct Services {
    Clock& clock;
    EventPump& events;
    Dialogs& dialogs;
    ProgramExit& exit;
    DueTimeWait& dueTimeWait;
    Calendar& calendar;
    BusyIndicator& busy;
};
