// The panel as a window: construction, wiring of the controls to their handlers, loading and closing.
#include "sensor/frmTolvane.h"

#include <QCloseEvent>

#include "common/hex.h"
#include "common/palette.h"
#include "sensor/event_hooks.h"

frmTolvane::frmTolvane(PanelHost& host, BoardLink& link, Services& services)
    : host_(host), link_(link), services_(services) {
    setWindowTitle("Tolvane  Light Sensor Evaluation Software");
    buildControls();
    connectHandlers();
}

namespace {

// An option array's Click handler, told the index of the option clicked or selected.
template <std::size_t N, typename Handler>
void onClick(const std::array<OptionButton*, N>& options, QObject* context, Handler handler) {
    for (int i = 0; i < static_cast<int>(N); ++i)
        QObject::connect(options[i], &OptionButton::Click, context, [handler, i] { handler(i); });
}

}  // namespace

void frmTolvane::connectHandlers() {
    connect(mnuScript, &QAction::triggered, this, &frmTolvane::mnuScript_Click);
    connect(frmAbout, &QAction::triggered, this, &frmTolvane::frmAbout_Click);

    for (int i = 0; i < static_cast<int>(ChkCommand.size()); ++i) {
        connect(ChkCommand[i], &QCheckBox::toggled, this, [this, i] { ChkCommand_Click(i); });
    }
    connect(cbReset, &QPushButton::clicked, this, &frmTolvane::cbReset_Click);
    onClick(OptMeasure, this, [this](int i) { OptMeasure_Click(i); });
    onClick(OptITime, this, [this](int i) { OptITime_Click(i); });
    onClick(OptGain, this, [this](int i) { OptGain_Click(i); });
    onClick(OpInt, this, [this](int i) { OpInt_Click(i); });
    onClick(OptTimeBase, this, [this](int i) { OptTimeBase_Click(i); });
    onClick(OptMode, this, [this](int i) { OptMode_Click(i); });
    connect(ChkIpol, &QCheckBox::toggled, this, &frmTolvane::ChkIpol_Click);
    onMouseUp(LstMode2->viewport(), [this] { LstMode2_MouseUp(); });
    onMouseUp(LstDeviceSel->viewport(), [this] { LstDeviceSel_MouseUp(); });

    connect(cmdSetCommand, &QPushButton::clicked, this, &frmTolvane::cmdSetCommand_Click);
    connect(cmdSetControl, &QPushButton::clicked, this, &frmTolvane::cmdSetControl_Click);
    connect(cmdSetIntHigh, &QPushButton::clicked, this, &frmTolvane::cmdSetIntHigh_Click);
    connect(cmdSetIntLow, &QPushButton::clicked, this, &frmTolvane::cmdSetIntLow_Click);
    connect(cmdRead_All, &QPushButton::clicked, this, &frmTolvane::cmdRead_All_Click);
    connect(cmdRead_Measurements, &QPushButton::clicked, this, &frmTolvane::cmdRead_Measurements_Click);
    for (int i = 0; i < 4; ++i) onKeyPress(txtRegHex[i], [this, i](int key) { txtRegHex_KeyPress(i, key); });

    onKeyPress(txtIUpperLimit, [this](int key) { txtIUpperLimit_KeyPress(key); });
    onKeyPress(txtILowerLimit, [this](int key) { txtILowerLimit_KeyPress(key); });
    connect(cmdClearInt, &QPushButton::clicked, this, &frmTolvane::cmdClearInt_Click);
    connect(cmdClrInt, &QPushButton::clicked, this, &frmTolvane::cmdClrInt_Click);
    connect(cmdSample_Portb, &QPushButton::clicked, this, &frmTolvane::cmdSample_Portb_Click);
}

// Sets up the panel's own state only: the chip keeps what it holds until the user writes it.
void frmTolvane::Form_Load() {
    ShpAttach->setFillColour(BrightGreen);
    Collecting = false;
    StopRequested = false;
    services_.events.processEvents();
    LstMode2->clear();
    LstMode2->addItems({"Diode 1", "Diode 2", "Difference"});
    ReadCount = 4;
    LblCommTest->hide();
    LstDeviceSel->clear();
    LstDeviceSel->addItem("Tolvane ADR-44");
    LstDeviceSel->setCurrentRow(0);
    ReadCount = 2;
    Label17->hide();
    txtReading2->hide();
    txtReading3->hide();
    RegShadow = {0x80, 0x00, 0xFF, 0x00};
    for (int n = 0; n < 4; ++n) txtRegHex[n]->setText(Hex2(RegShadow[n]));
    txtInterval->setText("100");
    Collecting = false;
    services_.events.processEvents();
    LstMode2->setCurrentRow(0);
    services_.events.processEvents();
    frmMode->show();
    frmTimeBase->show();
    FrmDevice->show();
    ShpHandleStatus->setFillColour(BrightGreen);
}

void frmTolvane::LstMode2_MouseUp() {
    Collecting = false;
    services_.events.processEvents();
    const int row = LstMode2->currentRow();
    if (row >= 0 && row < static_cast<int>(OptMeasure.size())) OptMeasure[row]->setChecked(true);
    services_.events.processEvents();
    services_.events.processEvents();
}

void frmTolvane::frmAbout_Click() {
    host_.showAbout();
}

// The close box ends the program the way "Exit" does.
void frmTolvane::closeEvent(QCloseEvent* event) {
    Collecting = false;
    StopRequested = true;
    services_.events.processEvents();
    PendingUpdate = false;
    PendingClearInt = false;
    PendingRegisterRead = false;
    event->accept();
    host_.unloadAboutAndStartup();
}
