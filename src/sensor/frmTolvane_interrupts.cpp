// Interrupt control: its frame, the decimal threshold entries, the persistence options, clearing the
// interrupt, sampling and polling the INT line and the interrupt monitor.
#include <QGridLayout>

#include "chip/chip_map.h"
#include "chip/register_bits.h"
#include "chip/thresholds.h"
#include "common/hex.h"
#include "common/palette.h"
#include "common/program_identity.h"
#include "common/widget_factories.h"
#include "sensor/frmTolvane.h"

QWidget* frmTolvane::buildInterruptFrame() {
    frControl = new QGroupBox("Interrupt Control");
    lblUH[0] = new QLabel("Upper Interrupt Limit R2");
    lblUH[1] = new QLabel("Lower Interrupt Limit R3");
    txtIUpperLimit = boxFitting(
        "65280", "6528000", "High  Limit, Interrupt Level in decimal. Press Enter to update R2 Register.");
    txtILowerLimit = boxFitting("0", "6528000",
                                "Low Limit, Interrupt Level in decimal.. Press Enter to update R3 Register.");

    intGroup_ = new QButtonGroup(this);
    const std::array<int, 4> cycles{1, 4, 8, 16};
    for (int i = 0; i < 4; ++i) {
        OpInt[i] =
            groupOption(QString("%1 Trip").arg(cycles[i]), intGroup_, i,
                        QString("Interrupt High / Low threshold level must exist for %1 integration %2 "
                                "before Interrupt Signal will be asserted.")
                            .arg(cycles[i])
                            .arg(i == 0 ? "cycle" : "cycles"));
    }
    OpInt[0]->setChecked(true);

    cmdClearInt = new QPushButton("Clear Int");
    cmdClrInt = new QPushButton("Clear Interrupt");
    cmdClrInt->setToolTip("Write I2C Clear Interrupt, reads Reg and External INT Pin Status.");
    cmdSample_Portb = new QPushButton("Sample External Int Pin");
    cmdSample_Portb->setToolTip("Sample the External INT Signal, does not use I2C Buss");
    ChkIpol = new QCheckBox("Poll Interrupt");
    ChkIpol->setChecked(true);
    // Room for its longest caption, so the frame keeps still when the caption changes.
    ChkIpol->setMinimumWidth(ChkIpol->sizeHint().width() +
                             ChkIpol->fontMetrics().horizontalAdvance("Check to enable Interrupt Polling") -
                             ChkIpol->fontMetrics().horizontalAdvance("Poll Interrupt"));

    Label24 = new QLabel("Interrupt Monitor");
    Label23 = new QLabel("Reg b001 Bit h20");  // a single "&" in the caption only marks an access key
    Label21 = new QLabel("External INT Pin");
    ShpINt = new Shape;
    ShpINTexternal = new Shape;
    ShpISample = new Shape;

    auto* grid = new QGridLayout(frControl);
    grid->addWidget(lblUH[0], 0, 0, 1, 2);
    grid->addWidget(txtIUpperLimit, 0, 2);
    grid->addWidget(lblUH[1], 1, 0, 1, 2);
    grid->addWidget(txtILowerLimit, 1, 2);
    for (int i = 0; i < 4; ++i) grid->addWidget(OpInt[i], 2 + i / 2, i % 2);
    grid->addWidget(cmdClearInt, 2, 2);
    grid->addWidget(cmdClrInt, 3, 2);
    grid->addWidget(ChkIpol, 4, 0, 1, 2);
    grid->addWidget(cmdSample_Portb, 4, 2);

    auto* monitor = new QGridLayout;
    monitor->addWidget(Label24, 0, 0, 1, 2);
    monitor->addWidget(ShpINt, 1, 0);
    monitor->addWidget(Label23, 1, 1);
    monitor->addWidget(ShpINTexternal, 2, 0);
    monitor->addWidget(Label21, 2, 1);
    monitor->addWidget(ShpISample, 3, 0);
    monitor->setColumnStretch(1, 1);
    grid->addLayout(monitor, 5, 0, 1, 3);
    grid->setColumnStretch(3, 1);
    return frControl;
}

void frmTolvane::thresholdEntered(int n) {
    const bool low = n == 3;
    QLineEdit* box = thresholdBox(n);
    const ThresholdEntry entry = low ? checkLowThreshold(box->text()) : checkHighThreshold(box->text());
    if (entry.verdict == ThresholdEntry::Verdict::OutOfRange) {
        // "Hign" and the doubled blank stay: we keep our texts letter for letter, typos too.
        services_.dialogs.messageBox({low ? "Low Interrupt Limit must be 0, => 256 and < =65280"
                                          : "Hign Interrupt Limit must be  => 256 and < =65280",
                                      DialogButtons::Ok, kProgramTitle});
        box->setText(low ? "0" : "65280");
        return;
    }
    if (entry.verdict == ThresholdEntry::Verdict::Accepted) {
        if (entry.adjusted) box->setText(QString::number(entry.value));
        txtRegHex[n]->setText(Hex2(entry.registerValue));
    }
    // Text that is not a number writes the register from its hexadecimal box as it stands.
    nowOrDefer(low ? DeferredAction::LowLimitWrite : DeferredAction::HighLimitWrite,
               low ? &frmTolvane::cmdSetIntLow_Click : &frmTolvane::cmdSetIntHigh_Click);
}

void frmTolvane::txtIUpperLimit_KeyPress(int KeyAscii) {
    loop().deferred.drop(DeferredAction::HighLimitWrite);  // any further typing cancels a deferred write
    if (KeyAscii == 13) thresholdEntered(2);
}

void frmTolvane::txtILowerLimit_KeyPress(int KeyAscii) {
    loop().deferred.drop(DeferredAction::LowLimitWrite);
    if (KeyAscii == 13) thresholdEntered(3);
}

void frmTolvane::OpInt_Click(int Index) {
    RegShadow[1] = controlWithPersistence(RegShadow[1], Index);
    services_.events.processEvents();
    showAndWrite(1);
}

void frmTolvane::cmdClearInt_Click() {
    // The command's data byte is the R0 write box, so it must hold a byte like any R0 write.
    if (acceptWriteBox(0)) {
        writeRegister(Hex2(kClearInterruptCommand), txtRegHex[0]->text());
        services_.events.processEvents();
        ShpInd[13]->flipActivity();
    }
    loop().deferred.drop(DeferredAction::ClearInt);
}

void frmTolvane::cmdClrInt_Click() {
    if (collectionOwnsChip()) {
        loop().deferred.defer(DeferredAction::ClearInt);
        loop().deferred.defer(DeferredAction::RegisterRead);
        services_.events.processEvents();
        return;
    }
    cmdClearInt_Click();
    cmdSample_Portb_Click();
    cmdRead_All_Click();
}

void frmTolvane::cmdSample_Portb_Click() {
    sampleIntPin();
}

bool frmTolvane::sampleIntPin() {
    Sample_PortB();
    const bool high = keepIntPinBit();
    ShpINTexternal->setFillColour(high ? Black : BrightRed);
    return high;
}

void frmTolvane::pollInterruptLine() {
    Sample_PortB();
    ShpISample->flipActivity();
    const bool high = keepIntPinBit();
    ShpINTexternal->setFillColour(high ? Black : BrightRed);
    if (high) return;
    // The pin says an interrupt is pending: R1's flag says whether the chip agrees.
    ReadCount = 1;
    readRegisters("1");
    copyReadBack(1, 1);
    ShpINt->setFillColour(interruptFlagSet(HexToInt(txtRegRd[1]->text())) ? BrightRed : Black);
}

void frmTolvane::ChkIpol_Click() {
    if (!ChkIpol->isChecked()) {
        ChkIpol->setText("Check to enable Interrupt Polling");
        services_.events.processEvents();
        ShpISample->setFillColour(Black);
        return;
    }
    if (!collecting()) ChkIpol->setText("Polling INT Via Register");
}
