// The console as a window: construction, wiring of the controls to their handlers, loading and
// unloading. Each box is built by the file that holds its handlers.
#include "console/frmMain.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/display_box.h"
#include "common/hex.h"

frmMain::frmMain(BoardLink& link, Services& services) : link_(link), services_(services) {
    setWindowTitle("HID Firmware Basic I/O ");
    auto* left = new QVBoxLayout;
    left->addWidget(buildBoardBox());
    left->addWidget(buildBusBox());
    left->addWidget(buildAddressBox());
    left->addWidget(buildPortBox());
    left->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(buildTransferBox());
    connectHandlers();
    // Never shown, its boxes carry numbers between the panel and the board; the collection loop
    // rewrites two of them at every sample.
    setFont(withoutShaping(font()));
}

void frmMain::connectHandlers() {
    // A list's Click and a box's Click or Change run whenever the value changes, whoever changes
    // it; the refills that must not echo block these signals themselves.
    connect(cboEVBinstance, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row >= 0) cboEVBinstance_Click();
    });
    for (int i = 0; i < static_cast<int>(chkLED.size()); ++i)
        connect(chkLED[i], &QCheckBox::toggled, this, [this, i] { chkLED_Click(i); });
    connect(cboSMBusFrequency, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row >= 0) cboSMBusFrequency_Click();
    });
    connect(cboSPIclock, &QComboBox::currentIndexChanged, this, [this](int row) {
        if (row >= 0) cboSPIclock_Click();
    });
    connect(txtI2Caddress, &QLineEdit::textChanged, this, &frmMain::txtI2Caddress_Change);
    for (int i = 0; i < static_cast<int>(chkADDRbit.size()); ++i)
        connect(chkADDRbit[i], &QCheckBox::toggled, this, [this, i] { chkADDRbit_Click(i); });
    connect(cmdSimpleI2cRd, &QPushButton::clicked, this, &frmMain::cmdSimpleI2cRd_Click);
    connect(cmdSimpleI2cWr, &QPushButton::clicked, this, &frmMain::cmdSimpleI2cWr_Click);
}

void frmMain::Form_Load() {
    // The search starts from no boards: whatever an earlier one opened is closed, not left open.
    link_.CloseBoards();
    link_.FindBoard();
    if (services_.exit.requested()) return;  // Cancel in the not-found box unloaded us

    for (int i = 0; i < kGridRows; ++i) {
        lblRegAddr[i]->setText(Hex2(static_cast<std::uint8_t>(i)));
        txtWriteVal[i]->setText("00");
        txtReadVal[i]->clear();
        txtReadVal[i]->setReadOnly(true);
    }

    // Run the handler directly as well: the text may already hold the default address.
    AddressSetByProgram = true;
    txtI2Caddress->setText(Hex2(link_.DefaultSlaveAddress()));
    txtI2Caddress_Change();
    AddressSetByProgram = false;
}

void frmMain::Form_Unload() {
    link_.CloseBoards();
    services_.exit.exitProgram();
}

void frmMain::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}
