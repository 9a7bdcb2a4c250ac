// The slave address and the register block transfers the sensor panel runs through the console: their
// boxes and their handlers.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>
#include <optional>
#include <vector>

#include "common/display_box.h"
#include "common/hex.h"
#include "common/widget_factories.h"
#include "console/frmMain.h"
#include "platform/delay.h"

namespace {
constexpr double kAddressSettleSeconds = 0.5;
}  // namespace

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
        txtReadVal[i] = new DisplayBox("");  // rewritten at every sample the panel takes
        grid->addWidget(lblRegAddr[i], i + 1, 0);
        grid->addWidget(txtWriteVal[i], i + 1, 1);
        grid->addWidget(txtReadVal[i], i + 1, 2);
    }

    auto* layout = new QVBoxLayout(box);
    layout->addLayout(fields);
    layout->addLayout(grid);
    return box;
}

void frmMain::txtI2Caddress_Change() {
    // Give a typist time to finish both digits before the address is taken.
    if (!AddressSetByProgram) Delay(services_.clock, services_.events, kAddressSettleSeconds);
    if (services_.exit.requested()) return;
    // The box holds the 8-bit write form: the read/write bit is always clear.
    const auto address = static_cast<std::uint8_t>(HexToInt(txtI2Caddress->text()) & 0xFE);
    txtI2Caddress->setText(Hex2(address));  // runs this handler once more when the text changes
    link_.setSlaveAddress(address);
    UpdatingControls = true;
    for (std::size_t i = 0; i < chkADDRbit.size(); ++i) chkADDRbit[i]->setChecked(address >> (i + 1) & 1);
    UpdatingControls = false;
}

void frmMain::chkADDRbit_Click(int /*Index*/) {
    if (UpdatingControls) return;
    // A bit changed by hand: the address box takes the new address through its own handler.
    int address = 0;
    for (std::size_t i = 0; i < chkADDRbit.size(); ++i)
        if (chkADDRbit[i]->isChecked()) address |= 1 << (i + 1);
    txtI2Caddress->setText(Hex2(static_cast<std::uint8_t>(address)));
}

void frmMain::cmdSimpleI2cRd_Click() {
    const std::optional<std::uint8_t> count = parseCount(txtNumToRead->text());
    const bool random = chkRandom->isChecked();
    const std::optional<std::uint8_t> start = random ? parseHexByte(txtStartRegRD->text()) : std::uint8_t{0};
    // Fields that hold no valid start or count move nothing: no transfer, no row changed.
    if (!count || !start) return;

    std::vector<std::uint8_t> data(*count, 0);
    std::vector<std::uint8_t> regAddr;
    if (random) regAddr.push_back(*start);
    // An answer that came after its request gave up would otherwise be taken for this read's, and
    // every later read would show the bytes of the one before it.
    link_.DrainQueuedInput();
    // The result is judged by the caller through the link's status values.
    link_.I2CRead(link_.SlaveAddress(), *count, static_cast<std::uint8_t>(regAddr.size()), data, regAddr);
    services_.events.processEvents();

    if (*start >= kGridRows) return;
    const int last = std::min(*start + *count - 1, kGridRows - 1);
    for (int row = *start; row <= last; ++row) showText(txtReadVal[row], Hex2(data[row - *start]));
}

void frmMain::cmdSimpleI2cWr_Click() {
    const std::optional<std::uint8_t> count = parseCount(txtNumToWrite->text());
    if (!count) return;
    // A write always takes its data from rows 0 on, whatever the start register; every one of
    // them must be valid or nothing is sent.
    std::vector<std::uint8_t> data;
    for (int row = 0; row < *count; ++row) {
        const std::optional<std::uint8_t> value = parseHexByte(txtWriteVal[row]->text());
        if (!value) return;
        data.push_back(*value);
    }
    std::vector<std::uint8_t> regAddr;
    if (chkRandom->isChecked()) {
        const std::optional<std::uint8_t> reg = parseHexByte(txtStartRegWr->text());
        if (!reg) return;
        regAddr.push_back(*reg);
    }

    link_.FlushInput();
    link_.I2CWrite(link_.SlaveAddress(), *count, static_cast<std::uint8_t>(regAddr.size()), data, regAddr);
    services_.events.processEvents();
}
