#pragma once

#include <cstdint>
#include <vector>

#include "platform/busy_indicator.h"
#include "platform/program_exit.h"
#include "platform/services.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/fake_due_time_wait.h"
#include "tests/doubles/fixed_calendar.h"
#include "tests/doubles/scripted_dialogs.h"
#include "tests/doubles/test_event_pump.h"

// Records the end and returns, so a test sees the program end and carries on.
class RecordingExit final : public ProgramExit {
public:
    int count = 0;

protected:
    void end() override { ++count; }
};

// Records when the busy sign was shown and restored, on the test's clock.
class RecordingBusyIndicator final : public BusyIndicator {
public:
    explicit RecordingBusyIndicator(Clock& clock) : clock_(clock) {}
    void show() override { shownAtMs.push_back(clock_.milliseconds()); }
    void restore() override { restoredAtMs.push_back(clock_.milliseconds()); }
    std::vector<std::uint32_t> shownAtMs, restoredAtMs;

private:
    Clock& clock_;
};

// The services, each by its test double.
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
