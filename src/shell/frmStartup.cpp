#include "shell/frmStartup.h"

#include <QCloseEvent>
#include <QVBoxLayout>

#include "chip/chip_map.h"
#include "console/frmMain.h"
#include "sensor/frmTolvane.h"
#include "shell/logo.h"
#include "shell/program.h"

frmStartup::frmStartup(Program& program) : program_(program) {
    setWindowTitle("Halvora Evaluation Software Main Startup Menu");
    Picture1 = new QLabel(this);
    Picture1->setPixmap(drawMakerLogo(QSize(240, 80)));
    Picture1->setAlignment(Qt::AlignCenter);
    cboDeviceSelect = new QComboBox(this);
    cboDeviceSelect->setAccessibleName("Device");
    cmdAbout = new QPushButton("About", this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Picture1);
    layout->addWidget(cboDeviceSelect);
    layout->addWidget(cmdAbout);

    connect(cmdAbout, &QPushButton::clicked, this, &frmStartup::cmdAbout_Click);
    Form_Load();
    // Connected after the load so that selecting row 0 there reaches the handler only through the
    // explicit call below, as a list's Click does when the program selects a row.
    connect(cboDeviceSelect, &QComboBox::currentIndexChanged, this, &frmStartup::cboDeviceSelect_Click);
}

void frmStartup::Form_Load() {
    program_.link.setDevice({}, 0);  // no device chosen yet
    cboDeviceSelect->addItem("Device Select");
    cboDeviceSelect->addItem("Tolvane");
    cboDeviceSelect->setCurrentIndex(0);
    cboDeviceSelect_Click();
}

void frmStartup::cboDeviceSelect_Click() {
    if (cboDeviceSelect->currentIndex() != 1) return;
    BoardLink& link = program_.link;
    link.setDevice("Tolvane", kChipAddress);
    frmMain& console = program_.console();
    if (program_.services.exit.requested()) return;  // Cancel in the not-found box ended the program
    console.chkRandom->setChecked(true);
    console.txtI2Caddress->setText(QString::number(link.SlaveAddress(), 16).toUpper());
    link.nameBoard();
    hide();
    program_.openPanel();
}

void frmStartup::cmdAbout_Click() {
    program_.showAbout();
}

void frmStartup::Form_Unload() {
    program_.services.exit.exitProgram();
}

void frmStartup::closeEvent(QCloseEvent* event) {
    event->accept();
    Form_Unload();
}
