#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <ostream>

#include "console/frmMain.h"
#include "demo/board_window.h"
#include "sensor/frmTolvane.h"
#include "tests/support/rig.h"

inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

// The demo's board window, shown, on the board of a complete program with the sensor panel open, on
// the fake clock. The window starts the board under a steady 100 lux without infrared or noise: with
// the panel's load options (D1, 16 bits, 1k range) the chip counts 6554.
class BoardWindowTest : public ::testing::Test {
protected:
    static constexpr int kCount = 6554;

    BoardWindowTest() {
        window.placeAtTheRightEdge();
        window.show();
        rig.program.setCompanion(&window);  // beside the panel, as the demo places it
        rig.chooseTolvane();
    }

    frmTolvane& panel() { return rig.program.panel(); }
    SampleHistory& history() { return panel().acquisition().history; }
    // What the panel shows of R0..R3, or of R4..R7, as one string of hexadecimal pairs.
    QString shownRegisters(int first) {
        QString text;
        for (int n = first; n < first + 4; ++n) text += panel().txtRegRd[static_cast<std::size_t>(n)]->text();
        return text;
    }

    Rig rig;
    BoardWindow window{rig.bus, rig.board(), rig.clock, {100, sim::LightSetting::Shape::Constant, 0, 0}};
};
