#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "boardlink/board_link.h"
#include "sim/sim_bus.h"
#include "tests/doubles/test_services.h"

using Bytes = std::vector<std::uint8_t>;

// A board link on its own, on a simulated bus and a fake clock.
struct LinkTest : ::testing::Test, TestServices {
    sim::SimBus bus{clock};
    BoardLink link{bus, services};

    LinkTest() {
        link.DeviceName = "Tolvane";
        link.BoardName = "Tolvane Evaluation Board";
    }

    // Bytes first..last of a report.
    static Bytes bytes(const Report& report, std::size_t first, std::size_t last) {
        return {report.begin() + static_cast<std::ptrdiff_t>(first),
                report.begin() + static_cast<std::ptrdiff_t>(last) + 1};
    }
};

// The console as far as the link sees it: counts its calls and does what the real one does.
struct FakeHost final : BoardLinkHost {
    FakeHost(BoardLink& link, ProgramExit& exit) : link(link), exit(exit) { link.setHost(this); }
    void boardsFound() override {
        ++inits;
        link.WriteHandle = link.WriteHandles[0];
        link.ReadHandle = link.ReadHandles[0];
    }
    void unloadConsole() override {
        ++unloads;
        link.CloseBoards();
        exit.exitProgram();
    }
    BoardLink& link;
    ProgramExit& exit;
    int inits = 0;
    int unloads = 0;
};
