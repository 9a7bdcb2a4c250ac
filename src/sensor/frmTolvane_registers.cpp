// The register block: write boxes, read-back, measurement registers and their indicators.
#include <QGridLayout>

#include "chip/register_bits.h"
#include "common/hex.h"
#include "common/palette.h"
#include "common/program_identity.h"
#include "common/widget_factories.h"
#include "sensor/frmTolvane.h"

namespace {

constexpr std::array<const char*, 4> kRegisterNames{"Command Register R0", "Control Register R1",
                                                    "Interrupt High Limit Register R2",
                                                    "Interrupt Low Limit Register R3"};

}  // namespace

QWidget* frmTolvane::buildRegisterFrame() {
    Frame2 = new QGroupBox("Device Registers");
    const std::array<QString, 4> writeTips{"Display actual hex value of  Command  Register. ",
                                           "Hex  Write value of  Control Register. ",
                                           "Hex Write value of Interrupt High Limit Register",
                                           "Hex Write value of Interrupt Low Limit Register"};
    const std::array<QString, 8> readTips{"Hex Read-Back value of Command Register",
                                          "Hex Read back of Control register",
                                          "Hex Read back of Interrupt High Limit Register",
                                          "Hex Read back of Interrupt Low Limit Register",
                                          "ADC Readback LSB (7:0)",
                                          "ADC Readback MSB (15:8)",
                                          "Integration Counter LSB Value",
                                          "Integration Counter MSB Value"};
    const std::array<QString, 4> initial{"80", "00", "FF", "00"};
    for (int n = 0; n < 4; ++n) txtRegHex[n] = fixedWidthBox(initial[n], 3, writeTips[n]);
    for (int n = 0; n < 8; ++n) txtRegRd[n] = displayBox("XX", 3, readTips[n]);
    for (Shape*& shape : ShpInd) shape = new Shape;
    const std::array<QString, 8> rows{"R0", "R1", "R2", "R3", "Lux", "Icycless", "EOC &h80", "Int Clear"};
    for (int i = 0; i < 8; ++i) Label22[i] = new QLabel(rows[i]);
    Label5[0] = new QLabel("ADR   Wr         Rd");
    Label5[1] = new QLabel("Meas  MSB       LSB");
    cmdSetCommand = new QPushButton("Write Command Register R0");
    cmdSetControl = new QPushButton("Write  Control Register R1");
    cmdSetIntHigh = new QPushButton("Write High Int Limit R2");
    cmdSetIntLow = new QPushButton("Write Low Int Limit R3");
    cmdRead_All = new QPushButton("Read Regs R0-R3");
    cmdRead_Measurements = new QPushButton("Read Lux && ICycle R4-R7");

    // Columns: row caption, Wr (MSB) indicator, Rd (LSB) indicator, then the boxes and buttons.
    auto* grid = new QGridLayout(Frame2);
    grid->addWidget(Label5[0], 0, 0, 1, 3);
    const std::array<QPushButton*, 4> writes{cmdSetCommand, cmdSetControl, cmdSetIntHigh, cmdSetIntLow};
    for (int n = 0; n < 4; ++n) {
        grid->addWidget(Label22[n], n + 1, 0);
        grid->addWidget(ShpInd[n], n + 1, 1);
        grid->addWidget(ShpInd[4 + n], n + 1, 2);
        grid->addWidget(txtRegHex[n], n + 1, 3);
        grid->addWidget(txtRegRd[n], n + 1, 4);
        grid->addWidget(writes[n], n + 1, 5);
    }
    grid->addWidget(cmdRead_All, 5, 3, 1, 3);
    grid->addWidget(Label5[1], 6, 0, 1, 3);
    for (int pair = 0; pair < 2; ++pair) {  // Lux = R5:R4, Icycless = R7:R6, high byte first
        const int row = 7 + pair;
        grid->addWidget(Label22[4 + pair], row, 0);
        grid->addWidget(ShpInd[9 + 2 * pair], row, 1);
        grid->addWidget(ShpInd[8 + 2 * pair], row, 2);
        grid->addWidget(txtRegRd[5 + 2 * pair], row, 3);
        grid->addWidget(txtRegRd[4 + 2 * pair], row, 4);
    }
    grid->addWidget(cmdRead_Measurements, 7, 5, 2, 1);
    for (int command = 0; command < 2; ++command) {
        grid->addWidget(Label22[6 + command], 9 + command, 0);
        grid->addWidget(ShpInd[12 + command], 9 + command, 1);
    }
    grid->setColumnStretch(6, 1);
    return Frame2;
}

void frmTolvane::markMismatch(int n) {
    // Compared as text, as the user sees them: "5" and "05" differ.
    if (txtRegHex[n]->text() != txtRegRd[n]->text()) ShpInd[4 + n]->setFillColour(BrightRed);
}

void frmTolvane::nowOrDefer(DeferredAction deferred, void (frmTolvane::*action)()) {
    if (collectionOwnsChip()) {
        loop().deferred.defer(deferred);
    } else {
        (this->*action)();
    }
}

void frmTolvane::Read_Registers() {
    ReadCount = 4;
    readRegisters("0");
    copyReadBack(0, 3);
    loop().deferred.drop(DeferredAction::RegisterRead);
    for (int n = 4; n <= 7; ++n) ShpInd[n]->flipActivity();
    ShpINt->setFillColour(interruptFlagSet(HexToInt(txtRegRd[1]->text())) ? BrightRed : Black);
    for (int n = 0; n < 4; ++n) markMismatch(n);
}

void frmTolvane::cmdRead_All_Click() {
    nowOrDefer(DeferredAction::RegisterRead, &frmTolvane::Read_Registers);
    for (int n = 0; n < 4; ++n) markMismatch(n);
}

void frmTolvane::cmdRead_Measurements_Click() {
    ReadCount = 4;
    readRegisters("4");
    copyReadBack(4, 7);
    const int colour = ShpInd[8]->fillColour() == BrightGreen ? Green : BrightGreen;
    for (int n = 8; n <= 11; ++n) ShpInd[n]->setFillColour(colour);
    acquisition_->collection->showIlluminance(adcCountShown(), RegShadow[0], RegShadow[1]);
}

bool frmTolvane::holdsOneByte(int n) const {
    const QString text = txtRegHex[n]->text();
    return text.size() <= 2 && parseHexByte(text);
}

bool frmTolvane::acceptWriteBox(int n) {
    // The console needs one byte; anything else would be written as garbage and stored wrongly.
    if (holdsOneByte(n)) return true;
    services_.dialogs.messageBox(
        {QString("%1: enter one or two hexadecimal digits (00 to FF).").arg(kRegisterNames[n]),
         DialogButtons::Ok, kProgramTitle});
    return false;
}

// A refused write is done with too, so the collection loop does not retry it (and repeat the message)
// at every later deferred action.
void frmTolvane::writeFromBox(int n, bool readBackFirst) {
    constexpr std::array kWrites{DeferredAction::CommandWrite, DeferredAction::ControlWrite,
                                 DeferredAction::HighLimitWrite, DeferredAction::LowLimitWrite};
    if (acceptWriteBox(n)) {
        const QString text = txtRegHex[n]->text();
        RegShadow[n] = static_cast<std::uint8_t>(HexToInt(text));
        writeRegister(Hex2(static_cast<std::uint8_t>(n)), text);
        services_.events.processEvents();
        // The read-back is left to the loop while it runs.
        if (readBackFirst && !collecting()) cmdRead_All_Click();
        ShpInd[n]->flipActivity();
        if (!readBackFirst && !collecting()) cmdRead_All_Click();
    }
    loop().deferred.drop(kWrites[n]);
}

void frmTolvane::cmdSetCommand_Click() {
    services_.events.processEvents();
    writeFromBox(0, false);
}

void frmTolvane::cmdSetControl_Click() {
    writeFromBox(1, true);  // R1 alone reads back before its flip
}

void frmTolvane::cmdSetIntHigh_Click() {
    writeFromBox(2, false);
}

void frmTolvane::cmdSetIntLow_Click() {
    writeFromBox(3, false);
}

void frmTolvane::txtRegHex_KeyPress(int Index, int KeyAscii) {
    if (KeyAscii != 13 || Index < 0 || Index > 3) return;
    QLineEdit* edit = txtRegHex[Index];
    edit->setText(edit->text().toUpper());
    // A limit box follows only a byte that will really be written; the write refuses the rest.
    if (Index >= 2 && holdsOneByte(Index)) {
        thresholdBox(Index)->setText(QString::number(HexToInt(edit->text()) * 256));
    }
    constexpr std::array writes{&frmTolvane::cmdSetCommand_Click, &frmTolvane::cmdSetControl_Click,
                                &frmTolvane::cmdSetIntHigh_Click, &frmTolvane::cmdSetIntLow_Click};
    (this->*writes[Index])();
}
