#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "sim/sim_bus.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/fake_due_time_wait.h"
#include "tests/doubles/fixed_calendar.h"

// tolvane-cli run as a script runs it, on a simulated bus and a fake clock: what it printed, its exit
// status and what the board received.
struct CliRig {
    FakeClock clock;
    FakeDueTimeWait wait{clock};
    FixedCalendar calendar;
    sim::SimBus bus{clock};
    HidTransport* transport = &bus;
    std::unique_ptr<HidTransport> wire;  // one that stands between the tool and the bus, if any
    std::ostringstream out;
    std::ostringstream err;
    bool terminal = false;
    // Asked before each reading and during waits, as Ctrl-C's flag is.
    std::function<bool()> stop = [] { return false; };
    std::optional<BoardOptions> asked;  // what the tool asked its boards of

    int run(const QStringList& arguments) {
        out.str("");
        err.str("");
        CliSystem system{[this](const BoardOptions& options) -> HidTransport& {
                             asked = options;
                             return *transport;
                         },
                         clock,
                         wait,
                         calendar,
                         out,
                         err,
                         terminal,
                         [this] { return stop(); }};
        return runCli(arguments, system);
    }
};

// The bytes of an I2C transfer up to its last payload byte, in hexadecimal: "01 06 89 02 01 04".
inline std::string transfer(const Report& report) {
    const bool read = (report[2] & 1) != 0;
    const std::size_t length = 5 + report[4] + (read ? 0 : report[3]);
    std::string text;
    for (std::size_t i = 0; i < length && i < report.size(); ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, i == 0 ? "%02x" : " %02x", report[i]);
        text += byte;
    }
    return text;
}

inline std::vector<std::string> transfers(const sim::SimBoard& board, std::size_t from = 0) {
    std::vector<std::string> lines;
    for (std::size_t i = from; i < board.received.size(); ++i)
        lines.push_back(transfer(board.received[i].bytes));
    return lines;
}
