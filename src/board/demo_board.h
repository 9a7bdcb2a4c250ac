#pragma once

#include <memory>
#include <optional>

#include "boardlink/hid_transport.h"
#include "platform/clock.h"

// The simulated evaluation board for programs without windows (tolvane-cli --demo), with its realistic
// timing and the demo's moving light, or a constant light of `lightLux`. A real board keeps its
// registers, and goes on measuring, from one run of a program to the next while it stays plugged in;
// this one keeps its registers and the time in a small file (~/.cache/tolvane-cli/demo-board: "R0..R7 in
// hexadecimal, the clock"), so that what a script sets holds for the collect after it, and a pause in
// between is one for the chip too.
class DemoBoard {
public:
    DemoBoard(Clock& clock, std::optional<double> lightLux);
    ~DemoBoard();
    DemoBoard(const DemoBoard&) = delete;
    DemoBoard& operator=(const DemoBoard&) = delete;

    HidTransport& transport();

private:
    struct Parts;  // the simulated bus and what it runs on
    std::unique_ptr<Parts> parts_;
};
