#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

#include "shell/program.h"
#include "sim/sim_bus.h"
#include "tests/doubles/test_services.h"
#include "tests/support/user_input.h"

// One whole program on a simulated bus and a fake clock, on an ordinary desktop's screen.
struct Rig : TestServices {
    explicit Rig(int boards = 1, QSize screenSize = {1920, 1080});

    ScreenSize screen;
    sim::SimBus bus{clock};
    std::vector<sim::SimBoard*> boards;
    Program program{services, bus};

    sim::SimBoard& board(int index = 0) { return *boards.at(static_cast<std::size_t>(index)); }
    // Starts the program and picks "Tolvane" in the selector, as a user would.
    void chooseTolvane();
    frmMain& console() { return program.console(); }
    // Starts collection (with `start`, or the panel's Collect handler); `meanwhile` acts whenever the
    // loop lets events run, until it, the loop or the program's end ends the run.
    void collect(const std::function<void()>& meanwhile, const std::function<void()>& start = {});
    // The reports board `index` received from position `from` of its log on.
    std::vector<Report> received(std::size_t from = 0, int index = 0);
    std::size_t mark(int index = 0) { return board(index).received.size(); }
};

// The first bytes of a report, for readable comparisons.
std::vector<std::uint8_t> head(const Report& report, std::size_t count);
