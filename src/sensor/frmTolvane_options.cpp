// Operating options: the mode, command register, control register and time base frames, with their
// check box and option groups that rebuild R0 and R1, "Reset", "Test Comm" and the measurement list.
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "chip/register_bits.h"
#include "common/hex.h"
#include "common/palette.h"
#include "platform/delay.h"
#include "sensor/frmTolvane.h"

QWidget* frmTolvane::buildModeFrame() {
    frmMode = new QGroupBox("Device Mode Control");
    modeGroup_ = new QButtonGroup(this);
    OptMode[0] = groupOption("Measure", modeGroup_, 0);
    OptMode[1] = groupOption("Power Down", modeGroup_, 1);
    OptMode[1]->hide();
    OptMode[2] = groupOption("Test Comm", modeGroup_, 2);
    OptMode[0]->setChecked(true);
    LblCommTest = new QLabel("Fail");
    LblCommTest->setAutoFillBackground(true);
    LblCommTest->setAlignment(Qt::AlignCenter);
    LblCommTest->setMinimumWidth(LblCommTest->fontMetrics().horizontalAdvance("Good") + 16);

    auto* row = new QHBoxLayout(frmMode);
    for (QRadioButton* mode : OptMode) row->addWidget(mode);
    row->addWidget(LblCommTest);
    row->addStretch();
    return frmMode;
}

QWidget* frmTolvane::buildCommandFrame() {
    Frame1 = new QGroupBox("Command Reg - b000");
    const std::array<QString, 4> captions{"Reset ADC", "Pwr Down", "Ext Time", "ADC &&  Device Power Down"};
    for (std::size_t i = 0; i < ChkCommand.size(); ++i) {
        ChkCommand[i] = new QCheckBox(captions[i]);
        if (i != 3) ChkCommand[i]->hide();  // the first three are unused
    }
    cbReset = new QPushButton("Reset");
    cbReset->setToolTip(
        "The resets the Corlith and then places it in D1, Internal Integration Sensing Mode.");

    frmMeasure = new QGroupBox("Measurement");
    measureGroup_ = new QButtonGroup(this);
    auto* measure = new QVBoxLayout(frmMeasure);
    const std::array<QString, 3> modes{"D1-Only", "D2-Only", "D1-D2"};
    for (int i = 0; i < 3; ++i) measure->addWidget(OptMeasure[i] = groupOption(modes[i], measureGroup_, i));
    OptMeasure[0]->setChecked(true);
    LstMode2 = new QListWidget;
    LstMode2->setFixedHeight(3 * LstMode2->fontMetrics().height() + 12);
    measure->addWidget(LstMode2);

    frItime = new QGroupBox("AD Resolution");
    itimeGroup_ = new QButtonGroup(this);
    auto* itime = new QVBoxLayout(frItime);
    const std::array<QString, 4> bits{"16", "12", "8", "4"};
    for (int i = 0; i < 4; ++i) itime->addWidget(OptITime[i] = groupOption(bits[i], itimeGroup_, i));
    OptITime[0]->setChecked(true);
    itime->addStretch();

    auto* grid = new QGridLayout(Frame1);
    for (int i = 0; i < 3; ++i) grid->addWidget(ChkCommand[i], 0, i);
    grid->addWidget(ChkCommand[3], 1, 0, 1, 2);
    grid->addWidget(cbReset, 1, 2);
    grid->addWidget(frmMeasure, 2, 0, 1, 2);
    grid->addWidget(frItime, 2, 2);
    return Frame1;
}

QWidget* frmTolvane::buildControlFrame() {
    frmadccontrol = new QGroupBox("Control Reg - b001");
    frGain = new QGroupBox("Range");
    gainGroup_ = new QButtonGroup(this);
    auto* gain = new QHBoxLayout(frGain);
    const std::array<QString, 4> ranges{"1k", "4k", "16k", "64k"};
    for (int i = 0; i < 4; ++i) {
        gain->addWidget(OptGain[i] =
                            groupOption(ranges[i], gainGroup_, i, "Set the Lux Sensitivity Gain  / Level."));
    }
    OptGain[0]->setChecked(true);
    auto* column = new QVBoxLayout(frmadccontrol);
    column->addWidget(frGain);
    return frmadccontrol;
}

QWidget* frmTolvane::buildTimeBaseFrame() {
    frmTimeBase = new QGroupBox("Sampling Time Base Control");
    timeBaseGroup_ = new QButtonGroup(this);
    // "based based" stays: we keep our texts letter for letter, typos too.
    OptTimeBase[0] =
        groupOption("Internal Time Base", timeBaseGroup_, 0,
                    "Light sensing time based based on R1 100mSec / 100K Ohm value. Measurements start "
                    "and stop via internal device clock.");
    OptTimeBase[1] = groupOption("External Time Base", timeBaseGroup_, 1);
    OptTimeBase[1]->hide();
    OptTimeBase[0]->setChecked(true);
    auto* row = new QHBoxLayout(frmTimeBase);
    row->addWidget(OptTimeBase[0]);
    row->addWidget(OptTimeBase[1]);
    row->addStretch();
    return frmTimeBase;
}

// Shows the rebuilt copy of R0 or R1 in its write box, then writes it or leaves it to the loop.
void frmTolvane::showAndWrite(int n) {
    txtRegHex[n]->setText(Hex2(RegShadow[n]));
    if (n == 0) {
        nowOrDefer(DeferredAction::CommandWrite, &frmTolvane::cmdSetCommand_Click);
    } else {
        nowOrDefer(DeferredAction::ControlWrite, &frmTolvane::cmdSetControl_Click);
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

void frmTolvane::LstMode2_MouseUp() {
    loop().stop();
    services_.events.processEvents();
    const int row = LstMode2->currentRow();
    if (row >= 0 && row < static_cast<int>(OptMeasure.size())) OptMeasure[row]->setChecked(true);
    services_.events.processEvents();
}

void frmTolvane::OptTimeBase_Click(int /*Index*/) {
    services_.events.processEvents();
    const bool wasCollecting = collecting();
    loop().stop();  // ends a running collection before R0 is rewritten
    services_.events.processEvents();
    nowOrDefer(DeferredAction::CommandWrite, &frmTolvane::cmdSetCommand_Click);
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
            loop().deferred.drop(DeferredAction::RegisterRead);
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
    const bool good = link_.TransferError() == 0 && link_.AnswerStatus() == 8;
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
