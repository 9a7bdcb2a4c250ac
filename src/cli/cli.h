#pragma once

#include <QStringList>
#include <functional>
#include <ostream>

#include "boardlink/hid_transport.h"
#include "cli/command_line.h"
#include "platform/calendar.h"
#include "platform/clock.h"
#include "platform/due_time_wait.h"

// What tolvane-cli reaches outside itself: main() hands it the real things, the tests their doubles.
struct CliSystem {
    // The boards to talk to: the real ones, or the simulated ones the options ask for (--demo); none when
    // another program has the simulated ones.
    std::function<HidTransport*(const BoardOptions&)> transport;
    Clock& clock;        // monotonic: collect's schedule
    DueTimeWait& wait;   // waits for a reading's due time
    Calendar& calendar;  // the wall-clock time of collect's rows
    std::ostream& out;
    std::ostream& err;
    bool errIsTerminal = false;           // collect shows its progress there only then
    std::function<bool()> stopRequested;  // Ctrl-C
    // Standard output's descriptor, where the program has one: collect's rows go straight to it, each
    // whole. Without it they go through `out`.
    int outDescriptor = -1;
};

// Runs the command line (without the program name); returns the exit status.
int runCli(const QStringList& arguments, CliSystem& system);
