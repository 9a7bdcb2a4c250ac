#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "boardlink/board_link.h"
#include "sim/sim_bus.h"
#include "tests/doubles/test_services.h"

using Bytes = std::vector<std::uint8_t>;

// A board link on its own, without a console, to one simulated board on a fake clock.
struct LinkTest : ::testing::Test, TestServices {
    sim::SimBus bus{clock};
    sim::SimBoard& board = bus.addBoard();
    BoardLink link{bus, services};

    LinkTest() {
        link.DeviceName = "Tolvane";
        link.BoardName = "Tolvane Evaluation Board";
        link.FindBoard();
    }

    // Bytes first..last of a report.
    static Bytes bytes(const Report& report, std::size_t first, std::size_t last) {
        return {report.begin() + static_cast<std::ptrdiff_t>(first),
                report.begin() + static_cast<std::ptrdiff_t>(last) + 1};
    }
};
