#include "console/frmMain.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/hex.h"

namespace {

QCheckBox* pinBox(QWidget* parent, int port, int pin) {
    return new QCheckBox(QString("P%1.%2").arg(port).arg(pin), parent);
}

QLineEdit* byteField(QWidget* parent, const QString& text = {}) {
    auto* field = new QLineEdit(text, parent);
    field->setMaxLength(2);
    return field;
}
}  // namespace

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
}

QWidget* frmMain::buildBoardBox() {
    auto* box = new QGroupBox("Evaluation Board", this);
    cboEVBinstance = new QComboBox(box);
    chkLED[0] = new QCheckBox("LED Green", box);
    chkLED[1] = new QCheckBox("LED Red", box);
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(new QLabel("Instance", box));
    layout->addWidget(cboEVBinstance);
    layout->addWidget(chkLED[0]);
    layout->addWidget(chkLED[1]);
    return box;
}

QWidget* frmMain::buildBusBox() {
    auto* box = new QGroupBox("Bus Settings", this);
    lblI2Cfrequency = new QLabel("I2C SCL Clock Frequency (kHz)", box);
    cboSMBusFrequency = new QComboBox(box);
    chkRepeatedStart = new QCheckBox("Use Repeated Start for Read", box);
    chkStoppedWrite = new QCheckBox("Stop Write Before Read", box);
    chkExtendHold = new QCheckBox("EXTHOLD", box);
    lblSPIclock = new QLabel("SPI clock frequency (MHz)", box);
    cboSPIclock = new QComboBox(box);
    chkSPIckpol = new QCheckBox("Clock Polarity (idle HI if checked)", box);
    chkSPIckpha = new QCheckBox("Clock Phase ('1' if checked)", box);
    chkSPIss = new QCheckBox("Slave Select (idle HI if checked)", box);
    auto* layout = new QGridLayout(box);
    layout->addWidget(lblI2Cfrequency, 0, 0);
    layout->addWidget(cboSMBusFrequency, 1, 0);
    layout->addWidget(chkRepeatedStart, 2, 0);
    layout->addWidget(chkStoppedWrite, 3, 0);
    layout->addWidget(chkExtendHold, 4, 0);
    layout->addWidget(lblSPIclock, 0, 1);
    layout->addWidget(cboSPIclock, 1, 1);
    layout->addWidget(chkSPIckpol, 2, 1);
    layout->addWidget(chkSPIckpha, 3, 1);
    layout->addWidget(chkSPIss, 4, 1);
    return box;
}

QWidget* frmMain::buildAddressBox() {
    auto* box = new QGroupBox("I2C Slave Address", this);
    txtI2Caddress = byteField(box, "00");
    auto* layout = new QHBoxLayout(box);
    layout->addWidget(txtI2Caddress);
    // Most significant bit on the left, as the address is read.
    for (int i = static_cast<int>(chkADDRbit.size()) - 1; i >= 0; --i) {
        chkADDRbit[i] = new QCheckBox(QString::number(i), box);
        layout->addWidget(chkADDRbit[i]);
    }
    return box;
}

QWidget* frmMain::buildTransferBox() {
    auto* box = new QGroupBox("Register Transfers", this);
    chkRandom = new QCheckBox("Random Read/Write", box);
    txtStartRegRD = new QLineEdit(box);
    txtStartRegWr = new QLineEdit(box);
    txtNumToRead = new QLineEdit(box);
    txtNumToWrite = new QLineEdit(box);
    cmdSimpleI2cRd = new QPushButton("Read", box);
    cmdSimpleI2cWr = new QPushButton("Write", box);

    auto* fields = new QGridLayout;
    fields->addWidget(chkRandom, 0, 0, 1, 3);
    fields->addWidget(new QLabel("Start register", box), 1, 1);
    fields->addWidget(new QLabel("Count", box), 1, 2);
    fields->addWidget(cmdSimpleI2cRd, 2, 0);
    fields->addWidget(txtStartRegRD, 2, 1);
    fields->addWidget(txtNumToRead, 2, 2);
    fields->addWidget(cmdSimpleI2cWr, 3, 0);
    fields->addWidget(txtStartRegWr, 3, 1);
    fields->addWidget(txtNumToWrite, 3, 2);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Reg", box), 0, 0);
    grid->addWidget(new QLabel("Write", box), 0, 1);
    grid->addWidget(new QLabel("Read", box), 0, 2);
    for (int i = 0; i < kGridRows; ++i) {
        lblRegAddr[i] = new QLabel(box);
        txtWriteVal[i] = byteField(box);
        txtReadVal[i] = new QLineEdit(box);
        grid->addWidget(lblRegAddr[i], i + 1, 0);
        grid->addWidget(txtWriteVal[i], i + 1, 1);
        grid->addWidget(txtReadVal[i], i + 1, 2);
    }

    auto* layout = new QVBoxLayout(box);
    layout->addLayout(fields);
    layout->addLayout(grid);
    return box;
}

QWidget* frmMain::buildPortBox() {
    auto* box = new QGroupBox("General Purpose Ports", this);
    auto* layout = new QGridLayout(box);
    layout->addWidget(new QLabel("Push-pull", box), 0, 0);
    layout->addWidget(new QLabel("Level", box), 2, 0);
    for (int i = 0; i < 8; ++i) {
        chkOpenCollectorP1[i] = pinBox(box, 1, i);
        chkGPvalueP1[i] = pinBox(box, 1, i);
        layout->addWidget(chkOpenCollectorP1[i], 0, i + 1);
        layout->addWidget(chkGPvalueP1[i], 2, i + 1);
    }
    for (int i = 0; i < 4; ++i) {
        chkOpenCollectorP2[i] = pinBox(box, 2, i);
        chkGPvalueP2[i] = pinBox(box, 2, i);
        layout->addWidget(chkOpenCollectorP2[i], 1, i + 1);
        layout->addWidget(chkGPvalueP2[i], 3, i + 1);
    }
    chkWeakPullUpDisable = new QCheckBox("Weak Pull-Up Disable", box);
    chkWeakPullUpEnableOnRead = new QCheckBox("Temporarily enable weak-pullups on read", box);
    chkWeakPullUpEnableOnRead->setChecked(true);
    lblGPReadVal[0] = new QLabel("xx", box);
    lblGPReadVal[1] = new QLabel("xx", box);
    layout->addWidget(chkWeakPullUpDisable, 4, 0, 1, 5);
    layout->addWidget(chkWeakPullUpEnableOnRead, 5, 0, 1, 5);
    layout->addWidget(lblGPReadVal[0], 2, 9);
    layout->addWidget(lblGPReadVal[1], 3, 9);
    return box;
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
    link_.WriteHandles = {kNoHandle};
    link_.ReadHandles = {kNoHandle};
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
    txtI2Caddress->setText(Hex2(link_.DefaultSlaveAddress));
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
