// The panel's side of collection: its start, stop, exit and EOC handlers, and what the collection
// wing asks of the panel (CollectionHost): the chip brought in line, the ADC read, the interrupt poll
// and the register actions deferred during a run.
#include "chip/chip_map.h"
#include "chip/register_bits.h"
#include "common/hex.h"
#include "common/palette.h"
#include "sensor/frmTolvane.h"

void frmTolvane::cmdCollectData_Click() {
    loop().collect();
}

void frmTolvane::cmdStopData_Click() {
    loop().requestStop();
    loop().stop();
    acquisition_->collection->Label18->setText("Data Collection Halted");
    services_.events.processEvents();
}

void frmTolvane::cmdAbort_Click() {
    loop().requestStop();
    acquisition_->collection->cmdAbort->hide();
}

void frmTolvane::Command4_Click() {
    cmdAbort_Click();
    loop().stop();
    services_.events.processEvents();
    loop().deferred.dropUpdate();
    loop().deferred.drop(DeferredAction::ClearInt);
    loop().deferred.drop(DeferredAction::RegisterRead);
    host_.unloadAboutAndStartup();
}

void frmTolvane::cmdSync_Click() {
    // Never deferred: an external time base needs its end of conversion when the user asks for it.
    // Its data byte is the R0 write box, so it must hold a byte like any R0 write.
    // The flip shows an access: a refused box sends nothing, so nothing flips.
    if (!acceptWriteBox(0)) return;
    writeRegister(Hex2(kEndOfConversionCommand), txtRegHex[0]->text());
    services_.events.processEvents();
    ShpInd[12]->flipActivity();
}

void frmTolvane::bringChipInLine() {
    // The second check reads R0's copy as the first reset left it.
    if ((RegShadow[0] & kAdcEnable) == 0) {
        cbReset_Click();
        services_.events.processEvents();
    }
    if ((RegShadow[0] & kPowerDown) != 0) {
        cbReset_Click();
        services_.events.processEvents();
    }
    cmdSetCommand_Click();
    cmdSetControl_Click();
    cmdSetIntHigh_Click();
    cmdSetIntLow_Click();
    cmdRead_All_Click();
    cmdRead_Measurements_Click();
    services_.events.processEvents();
}

bool frmTolvane::pollingInterrupt() const {
    return ChkIpol->isChecked();
}

void frmTolvane::setPollingCaption(const QString& caption) {
    ChkIpol->setText(caption);
}

int frmTolvane::readAdcCount() {
    ReadCount = 2;
    readRegisters(QString::number(kCountRegister));
    copyReadBack(kCountRegister, kCountRegister + 1);
    return adcCountShown();
}

int frmTolvane::adcCountShown() const {
    return countOf(static_cast<std::uint8_t>(HexToInt(txtRegRd[4]->text())),
                   static_cast<std::uint8_t>(HexToInt(txtRegRd[5]->text())));
}

void frmTolvane::flipAdcIndicators() {
    const int colour = ShpInd[8]->fillColour() == BrightGreen ? Green : BrightGreen;
    ShpInd[8]->setFillColour(colour);
    ShpInd[9]->setFillColour(colour);
}

bool frmTolvane::linkLost() const {
    return link_.TransferError() != 0;
}

void frmTolvane::perform(DeferredAction action) {
    switch (action) {
        case DeferredAction::ClearInt:
            cmdClearInt_Click();
            cmdSample_Portb_Click();
            services_.events.processEvents();
            break;
        case DeferredAction::ControlWrite:
            cmdSetControl_Click();
            acquisition_->chartFrame->cmdAutoScale->setFocus();
            break;
        case DeferredAction::CommandWrite:
            cmdSetCommand_Click();
            acquisition_->chartFrame->cmdAutoScale->setFocus();
            break;
        case DeferredAction::HighLimitWrite:
            cmdSetIntHigh_Click();
            break;
        case DeferredAction::LowLimitWrite:
            cmdSetIntLow_Click();
            break;
        case DeferredAction::RegisterRead:
            Read_Registers();
            break;
    }
}

QString frmTolvane::commandRegisterText() const {
    return txtRegHex[0]->text();
}

QString frmTolvane::controlRegisterText() const {
    return txtRegHex[1]->text();
}
