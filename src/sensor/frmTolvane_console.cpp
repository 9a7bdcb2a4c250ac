// Every touch of the hidden console from the panel: the write-register and read-registers access
// patterns, the port sample that carries the INT pin, and the board's LEDs.
#include "common/display_box.h"
#include "console/frmMain.h"
#include "sensor/frmTolvane.h"

void frmTolvane::writeRegister(const QString& startRegister, const QString& value) {
    frmMain& bridge = console();
    bridge.txtStartRegWr->setText(startRegister);
    bridge.txtNumToWrite->setText("1");
    bridge.txtWriteVal[0]->setText(value);
    bridge.cmdSimpleI2cWr_Click();
}

void frmTolvane::readRegisters(const QString& startRegister) {
    frmMain& bridge = console();
    // Boxes that already hold these are left alone: a box given its own text again lays it out again.
    showText(bridge.txtNumToRead, QString::number(ReadCount));
    showText(bridge.txtStartRegRD, startRegister);
    bridge.cmdSimpleI2cRd_Click();
}

void frmTolvane::copyReadBack(int first, int last) {
    frmMain& bridge = console();
    for (int n = first; n <= last; ++n) showText(txtRegRd[n], bridge.txtReadVal[n]->text());
}

void frmTolvane::Sample_PortB() {
    console().getGPvalue();
}

bool frmTolvane::keepIntPinBit() {
    frmMain& bridge = console();
    bridge.GPvalueP1 &= 1;  // the INT line is pin 0 of port 1, active low
    return bridge.GPvalueP1 != 0;
}

void frmTolvane::toggleBoardLeds() {
    // The LED boxes' own handler sends the LED command.
    frmMain& bridge = console();
    const bool lightUp = !bridge.chkLED[0]->isChecked();
    bridge.chkLED[0]->setChecked(lightUp);
    bridge.chkLED[1]->setChecked(lightUp);
}
