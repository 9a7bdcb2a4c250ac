// The panel as a screen reader meets it: every box named for what it holds, every indicator with a
// name and the meaning of its colour, so colour is never the only carrier of a state.
#include <QScrollBar>

#include "common/palette.h"
#include "sensor/frmTolvane.h"

namespace {

// Flips between bright and dim green at each access.
Shape::StateNames activity() {
    return {{Black, "no access yet"}, {BrightGreen, "accessed"}, {Green, "accessed again"}};
}

Shape::StateNames readBack() {
    Shape::StateNames states = activity();
    states.push_back({BrightRed, "mismatch: the read-back differs from the write box"});
    return states;
}

}  // namespace

void frmTolvane::nameForScreenReaders() {
    const std::array<QString, 8> registers{"R0", "R1", "R2", "R3", "R4", "R5", "R6", "R7"};
    for (int n = 0; n < 4; ++n) {
        txtRegHex[n]->setAccessibleName(registers[n] + " write value");
        ShpInd[n]->setMeaning(registers[n] + " write", activity());
        ShpInd[4 + n]->setMeaning(registers[n] + " read-back", readBack());
    }
    // Named apart from the read-back indicators beside them.
    for (int n = 0; n < 8; ++n) txtRegRd[n]->setAccessibleName(registers[n] + " read-back value");
    const std::array<QString, 4> measurements{"Lux LSB (R4) read", "Lux MSB (R5) read",
                                              "Integration counter LSB (R6) read",
                                              "Integration counter MSB (R7) read"};
    for (int n = 0; n < 4; ++n) ShpInd[8 + n]->setMeaning(measurements[n], activity());
    ShpInd[12]->setMeaning("End of conversion command", activity());
    ShpInd[13]->setMeaning("Clear interrupt command", activity());

    lblUH[0]->setBuddy(txtIUpperLimit);
    lblUH[1]->setBuddy(txtILowerLimit);
    ShpINt->setMeaning("Interrupt flag, R1 bit 5",
                       {{Black, "clear: no interrupt pending"}, {BrightRed, "set: interrupt pending"}});
    ShpINTexternal->setMeaning("External INT pin",
                               {{Black, "high: no interrupt"}, {BrightRed, "low: interrupt asserted"}});
    ShpISample->setMeaning("Interrupt polling",
                           {{Black, "off"}, {BrightGreen, "polled"}, {Green, "polled again"}});

    LstDeviceSel->setAccessibleName("Device");
    Label10->setBuddy(txtI2CAddr);
    Label20->setBuddy(txtI2cXmitAdr);
    LstMode2->setAccessibleName("Measurement mode");
    scroller_->horizontalScrollBar()->setAccessibleName("Scroll the panel sideways");
    scroller_->verticalScrollBar()->setAccessibleName("Scroll the panel up and down");
    const Shape::StateNames connected{{Black, "not connected"}, {BrightGreen, "connected"}};
    ShpAttach->setMeaning("USB Device Handle", connected);
    ShpHandleStatus->setMeaning("USB Comm", connected);
}
