// Operating options: the check box and option groups that rebuild R0 and R1, "Reset", "Test Comm"
// and the interrupt polling switch.
#include <QApplication>

#include "common/hex.h"
#include "common/palette.h"
#include "platform/delay.h"
#include "sensor/frmTolvane.h"
#include "sensor/register_bits.h"

// Shows the rebuilt copy of R0 or R1 in its write box, then writes it or leaves it to the loop.
void frmTolvane::showAndWrite(int n) {
    txtRegHex[n]->setText(Hex2(RegShadow[n]));
    if (n == 0) {
        nowOrDefer(PendingCommandWrite, &frmTolvane::cmdSetCommand_Click);
    } else {
        nowOrDefer(PendingControlWrite, &frmTolvane::cmdSetControl_Click);
    }
}

void frmTolvane::ChkCommand_Click(int Index) {
    if (Index != 3) return;  // the other boxes of the array are never shown
    services_.events.processEvents();
    RegShadow[0] = commandWithPowerDown(RegShadow[0], ChkCommand[3]->isChecked());
    showAndWrite(0);
}

void frmTolvane::cbReset_Click() {
    cbReset->setText("Resetting ADC");
    ChkCommand[3]->setChecked(true);  // powers the ADC down
    Delay(services_.clock, services_.events, 0.5);
    services_.events.processEvents();
    ChkCommand[3]->setChecked(false);  // and up again
    Delay(services_.clock, services_.events, 0.05);
    cbReset->setText("Reset");
}

void frmTolvane::OptMeasure_Click(int Index) {
    RegShadow[0] = commandWithMeasurement(RegShadow[0], Index);
    services_.events.processEvents();
    showAndWrite(0);
}

void frmTolvane::OptITime_Click(int Index) {
    services_.events.processEvents();
    // 16 bits integrate for about 100 ms; the shorter resolutions are sampled every 10 ms.
    acquisition_->collection->txtInterval->setText(Index == 0 ? "100" : "10");
    RegShadow[0] = commandWithResolution(RegShadow[0], Index);
    showAndWrite(0);
}

void frmTolvane::OptGain_Click(int Index) {
    RegShadow[1] = controlWithRange(RegShadow[1], Index);
    services_.events.processEvents();
    showAndWrite(1);
}

void frmTolvane::OpInt_Click(int Index) {
    RegShadow[1] = controlWithPersistence(RegShadow[1], Index);
    services_.events.processEvents();
    showAndWrite(1);
}

void frmTolvane::OptTimeBase_Click(int /*Index*/) {
    services_.events.processEvents();
    const bool wasCollecting = Collecting;
    Collecting = false;  // ends a running collection before R0 is rewritten
    services_.events.processEvents();
    nowOrDefer(PendingCommandWrite, &frmTolvane::cmdSetCommand_Click);
    if (wasCollecting) {
        acquisition_->chartFrame->ClearChart();
        cmdCollectData_Click();
    }
}

void frmTolvane::OptMode_Click(int Index) {
    toggleBoardLeds();
    services_.events.processEvents();
    if (Index == 2) {
        if (!collectionOwnsChip()) {
            ReadCount = 1;
            readRegisters("0");
            copyReadBack(0, 0);
            markMismatch(0);
            PendingRegisterRead = false;
        }
        showCommTestResult();
        LblCommTest->show();
        deselectTestComm();
        services_.events.processEvents();
    }
    services_.events.processEvents();
}

void frmTolvane::showCommTestResult() {
    // Judges the last exchange with the board, whoever made it.
    const bool good = link_.TransferError == 0 && link_.AnswerStatus == 8;
    QPalette palette = LblCommTest->palette();
    palette.setColor(QPalette::Window, good ? paletteColour(Green) : paletteColour(BrightRed));
    palette.setColor(QPalette::WindowText,
                     good ? QApplication::palette().color(QPalette::ButtonText) : Qt::white);
    LblCommTest->setPalette(palette);
    LblCommTest->setText(good ? "Good" : "Fail");
}

void frmTolvane::deselectTestComm() {
    // Leaves no mode selected, so the next click on "Test Comm" runs the test again.
    modeGroup_->setExclusive(false);
    OptMode[2]->setChecked(false);
    modeGroup_->setExclusive(true);
}

void frmTolvane::ChkIpol_Click() {
    if (!ChkIpol->isChecked()) {
        ChkIpol->setText("Check to enable Interrupt Polling");
        services_.events.processEvents();
        ShpISample->setFillColour(Black);
        return;
    }
    if (!Collecting) ChkIpol->setText("Polling INT Via Register");
}
