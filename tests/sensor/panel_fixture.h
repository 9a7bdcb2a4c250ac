#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "console/frmMain.h"
#include "sensor/frmTolvane.h"
#include "tests/support/rig.h"

// One report as a short word, so a test can compare what the board received in order:
// "W02=10" one-byte register write, "R00x4" read of four registers from R0, "GP" port sample,
// "LED3" LED set, "Cnn" anything else.
std::string describe(const Report& report);
std::vector<std::string> describe(const std::vector<Report>& reports);

// The panel's pending flags that are set, by short name: "Update Command " and so on.
std::string pendingFlags(const frmTolvane& panel);

// Types `text` into a box (replacing what it held) and presses Enter, as a user would.
void typeAndEnter(QLineEdit* box, const QString& text);

// A program with the sensor panel open on a healthy simulated board and a fake clock.
class PanelTest : public ::testing::Test {
protected:
    PanelTest() { rig.chooseTolvane(); }

    frmTolvane& panel() { return rig.program.panel(); }
    sim::TolvaneChip& chip() { return rig.board().chip; }
    std::size_t mark() { return rig.mark(); }
    // What the board received since `from`, described report by report.
    std::vector<std::string> trafficSince(std::size_t from);

    Rig rig;
};
