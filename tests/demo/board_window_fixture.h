#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <functional>
#include <ostream>
#include <vector>

#include "console/frmMain.h"
#include "demo/board_window.h"
#include "sensor/frmTolvane.h"
#include "tests/support/rig.h"

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The demo's board window on the board of a complete program, with the sensor panel open, on the fake
// clock. The window starts the board under a steady 100 lux without infrared or noise: with the
// panel's load options (D1, 16 bits, 1k range) the chip counts 6554.
class BoardWindowTest : public ::testing::Test {
protected:
    static constexpr int kCount = 6554;
    static constexpr const char* kLinkLost =
        "Error, USB Communications has been lost, shutting down. Check Eval board connection and "
        "re-start the app.";

    BoardWindowTest() { rig.chooseTolvane(); }

    frmTolvane& panel() { return rig.program.panel(); }
    CollectionFrame& collection() { return *panel().acquisition().collection; }
    SampleHistory& history() { return panel().acquisition().history; }
    StripChart& chart() { return panel().acquisition().chart; }

    // Collects, letting `meanwhile` act whenever the loop lets window events run, until `meanwhile`
    // stops the run or the program ends.
    void collect(std::function<void()> meanwhile);
    // The texts of every message box shown so far.
    std::vector<QString> boxTexts() const;
    // What the panel shows of R0..R3, or of R4..R7, as one string of hexadecimal pairs.
    QString shownRegisters(int first);

    Rig rig;
    BoardWindow window{rig.bus, rig.board(), rig.clock, {100, sim::LightSetting::Shape::Constant, 0, 0}};
};
