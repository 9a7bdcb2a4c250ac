// Reading the current board's state back into the console: the board, bus and port boxes, with the
// instances, LEDs, bus settings and ports they show.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QSignalBlocker>

#include "common/hex.h"
#include "console/clock_lists.h"
#include "console/frmMain.h"

namespace {

QCheckBox* pinBox(QWidget* parent, int port, int pin) {
    return new QCheckBox(QString("P%1.%2").arg(port).arg(pin), parent);
}

template <std::size_t N>
void setBits(const std::array<QCheckBox*, N>& boxes, std::uint8_t bits) {
    for (std::size_t i = 0; i < N; ++i) boxes[i]->setChecked(bits >> i & 1);
}

// Refills a clock list from a clock answer (base clock in MHz in byte 2, current code in byte 3)
// without any echo, and selects the current code's row, still silently. Returns whether that row
// exists, so the caller sends the code back exactly once.
bool refillClockList(QComboBox* list, std::vector<ClockRow> (*rowsFor)(int baseMHz), const Report& answer) {
    const std::vector<ClockRow> rows = rowsFor(answer[2]);
    const int row = rowOfCode(rows, answer[3]);
    const QSignalBlocker blocker(list);
    list->clear();
    for (const ClockRow& r : rows) list->addItem(r.text, r.code);
    list->setCurrentIndex(row);
    return row >= 0;
}

void sendSelectedCode(BoardLink& link, BoardCommand command, const QComboBox* list) {
    if (list->currentIndex() < 0) return;
    link.SendCommand({command, SUB_SET, static_cast<std::uint8_t>(list->currentData().toInt())});
}

}  // namespace

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

bool frmMain::queryBoard(std::initializer_list<std::uint8_t> bytesFrom1) {
    // After Cancel in a link box the program is over: nothing is left to decode.
    return link_.QueryBoard(bytesFrom1) == TransferSuccess && !services_.exit.requested();
}

void frmMain::cboEVB_init() {
    {
        const QSignalBlocker blocker(cboEVBinstance);
        cboEVBinstance->clear();
        for (std::size_t i = 0; i < link_.boardCount(); ++i)
            cboEVBinstance->addItem(QString::number(i), static_cast<int>(i));
        cboEVBinstance->setCurrentIndex(0);
    }
    // Selecting row 0 makes board 0 current even when row 0 was selected before the refill.
    cboEVBinstance_Click();
}

void frmMain::cboEVBinstance_Click() {
    const int row = cboEVBinstance->currentIndex();
    if (row < 0 || !link_.chooseBoard(static_cast<std::size_t>(row))) return;

    using Step = void (frmMain::*)();
    for (Step step :
         {&frmMain::getLED, &frmMain::cboSMBusFrequency_init, &frmMain::cboSPIclock_init,
          &frmMain::getI2Coptions, &frmMain::getSPIoptions, &frmMain::getGPconfig, &frmMain::getGPvalue}) {
        if (services_.exit.requested()) return;
        (this->*step)();
    }
}

void frmMain::chkLED_Click(int /*Index*/) {
    const auto bits =
        static_cast<std::uint8_t>((chkLED[1]->isChecked() ? 2 : 0) | (chkLED[0]->isChecked() ? 1 : 0));
    link_.SendCommand({CMD_LED, SUB_SET, bits});
}

void frmMain::getLED() {
    if (!queryBoard({CMD_LED, SUB_GET})) return;
    // Take both bits first: the echo of the first box rebuilds the report buffer.
    const std::uint8_t bits = link_.ReportBuffer()[2];
    chkLED[0]->setChecked(bits & 1);
    chkLED[1]->setChecked(bits & 2);
}

void frmMain::cboSMBusFrequency_init() {
    if (queryBoard({CMD_I2C_CLOCK, SUB_GET}) &&
        refillClockList(cboSMBusFrequency, sclClockRows, link_.ReportBuffer()))
        cboSMBusFrequency_Click();
}

void frmMain::cboSMBusFrequency_Click() {
    sendSelectedCode(link_, CMD_I2C_CLOCK, cboSMBusFrequency);
}

void frmMain::cboSPIclock_init() {
    if (queryBoard({CMD_SPI_CLOCK, SUB_GET}) &&
        refillClockList(cboSPIclock, spiClockRows, link_.ReportBuffer()))
        cboSPIclock_Click();
}

void frmMain::cboSPIclock_Click() {
    sendSelectedCode(link_, CMD_SPI_CLOCK, cboSPIclock);
}

void frmMain::getI2Coptions() {
    if (!queryBoard({CMD_I2C_OPTIONS, SUB_GET})) return;
    const std::uint8_t options = link_.ReportBuffer()[2];
    const std::uint8_t extHold = link_.ReportBuffer()[3];
    UpdatingControls = true;
    chkRepeatedStart->setChecked(options & 1);
    chkStoppedWrite->setChecked(options & 2);
    chkExtendHold->setChecked(extHold & 1);
    UpdatingControls = false;
}

void frmMain::getSPIoptions() {
    if (!queryBoard({CMD_SPI_OPTIONS, SUB_GET})) return;
    const std::uint8_t options = link_.ReportBuffer()[2];
    UpdatingControls = true;
    chkSPIckpol->setChecked(options & 1);
    chkSPIckpha->setChecked(options & 2);
    chkSPIss->setChecked(options & 4);
    UpdatingControls = false;
}

void frmMain::getGPconfig() {
    if (!queryBoard({CMD_GP_CONFIG, SUB_GET})) return;
    const Report answer = link_.ReportBuffer();
    UpdatingControls = true;
    setBits(chkOpenCollectorP1, answer[2]);
    setBits(chkOpenCollectorP2, answer[3]);
    // The board should answer 0 or 1; any other non-zero byte still means the pull-ups are off.
    chkWeakPullUpDisable->setChecked(answer[4] != 0);
    UpdatingControls = false;
}

void frmMain::getGPvalue() {
    const auto pullUps = static_cast<std::uint8_t>(chkWeakPullUpEnableOnRead->isChecked() ? 1 : 0);
    if (!queryBoard({CMD_GP_VALUE, SUB_GET, pullUps})) return;
    const std::uint8_t port1 = link_.ReportBuffer()[2];
    const std::uint8_t port2 = link_.ReportBuffer()[3];
    UpdatingControls = true;
    lblGPReadVal[0]->setText(Hex2(port1));
    lblGPReadVal[1]->setText(Hex2(port2));
    GPvalueP1 = port1;
    setBits(chkGPvalueP1, port1);
    setBits(chkGPvalueP2, port2);  // port 2 has four pins; its upper bits show only in the label
    UpdatingControls = false;
}
