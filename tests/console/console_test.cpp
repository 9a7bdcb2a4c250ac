// The console on one simulated board: its read-back, sets and register transfers on the wire and in the
// grid, the clock lists, and link failures. Reports compare as hex lines, to show which byte differs.
#include <gtest/gtest.h>

#include <QByteArray>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "console/clock_lists.h"
#include "console/frmMain.h"
#include "tests/doubles/reports.h"
#include "tests/support/rig.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using Lines = std::vector<std::string>;

std::string hexLine(const Report& report) {
    return QByteArray(reinterpret_cast<const char*>(report.data()), report.size()).toHex(' ').toStdString();
}
std::string request(std::initializer_list<std::uint8_t> bytes) {
    return hexLine(reportOf(bytes));
}
// What a board sends when it becomes current with the simulated board's usual settings (LEDs off, SCL
// 12 MHz code 30, SPI 24 MHz code 5), as literal bytes: LEDs get; SCL get, set 30; SPI get, set 5; I2C
// options get; SPI options get; port configuration get; port levels get with pull-ups.
const Lines kUsualReadBack = {request({1, 1, 1}), request({1, 5, 1}),    request({1, 5, 0, 0x1E}),
                              request({1, 8, 1}), request({1, 8, 0, 5}), request({1, 4, 1}),
                              request({1, 7, 1}), request({1, 2, 1}),    request({1, 3, 1, 1})};

std::vector<int> checkedIndexes(const auto& boxes) {
    std::vector<int> checked;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        if (boxes[i]->isChecked()) checked.push_back(static_cast<int>(i));
    return checked;
}

struct Console : ::testing::Test {
    Rig rig;
    frmMain* console = nullptr;

    void load() {
        rig.chooseTolvane();
        console = &rig.console();
    }
    Lines sentSince(std::size_t mark = 0, int board = 0) {
        Lines lines;
        for (const Report& report : rig.received(mark, board)) lines.push_back(hexLine(report));
        return lines;
    }
    Lines sentBy(const std::function<void()>& action) {
        const std::size_t mark = rig.mark();
        action();
        return sentSince(mark);
    }
};

TEST_F(Console, LoadReadsTheBoardBackInOrderAndPreparesGridAndAddress) {
    load();
    EXPECT_EQ(sentSince(), kUsualReadBack);
    EXPECT_EQ(console->windowTitle(), "HID Firmware Basic I/O ");
    EXPECT_FALSE(console->isVisible());
    EXPECT_EQ(console->cboEVBinstance->count(), 1);
    for (int i = 0; i < frmMain::kGridRows; ++i) {
        EXPECT_EQ(
            console->lblRegAddr[i]->text() + console->txtWriteVal[i]->text() + console->txtReadVal[i]->text(),
            QString::asprintf("%02X00", i));
    }
    EXPECT_EQ(console->txtI2Caddress->text(), "88");
    EXPECT_LT(rig.clock.milliseconds() - 1000, 500u);  // no typist's wait when the load writes it
    EXPECT_EQ(console->cboSMBusFrequency->currentText(), "400");
    EXPECT_EQ(console->cboSPIclock->currentText(), "2");
    // Making the board current again rebuilds both lists without any stray echo.
    EXPECT_EQ(sentBy([this] { console->cboEVB_init(); }), kUsualReadBack);
}

TEST_F(Console, LedAnswersEchoOnlyChangedBoxesAndAMissingOneNone) {
    rig.board().settings.leds = 0x01;
    load();
    EXPECT_EQ(sentSince()[1], request({1, CMD_LED, SUB_SET, 1}));
    EXPECT_EQ(checkedIndexes(console->chkLED), std::vector<int>{0});
    const std::string get = request({1, CMD_LED, SUB_GET});
    EXPECT_EQ(sentBy([this] { console->getLED(); }), Lines{get});  // the answer matches the boxes

    // From both off to both on: each box echoes in turn, the second with both bits.
    console->chkLED[0]->setChecked(false);
    rig.board().settings.leds = 0x03;
    EXPECT_EQ(sentBy([this] { console->getLED(); }),
              (Lines{get, request({1, CMD_LED, SUB_SET, 1}), request({1, CMD_LED, SUB_SET, 3})}));

    // A missing answer is not decoded: after Retry the boxes keep what the new search read back.
    rig.board().settings.port1Levels = 0xA5;
    rig.board().dropAnswers(1);
    rig.dialogs.answer(AnswerRetry);
    console->getLED();
    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(console->lblGPReadVal[0]->text(), "A5");
    EXPECT_EQ(checkedIndexes(console->chkLED), (std::vector<int>{0, 1}));
    EXPECT_EQ(rig.board().settings.leds, 0x03);
}

// A current clock code without a row selects nothing, so nothing at all is sent back.
TEST_F(Console, ReadBacksSetTheBoxesAndSendNothingBack) {
    sim::BridgeSettings& settings = rig.board().settings;
    settings.sclCode = 200, settings.spiBaseMHz = 12, settings.spiCode = 23;  // 60 kHz, 250 kHz
    settings.i2cOptions = 0x02, settings.extHold = 0x01, settings.spiOptions = 0x06;
    settings.port1PushPull = 0x81, settings.port2PushPull = 0xFA;  // port 2 has four pins
    settings.pullUpsDisabled = 2;                                  // neither 0 nor 1: still reads as disabled
    load();
    for (const Report& report : rig.received()) EXPECT_NE(report[2], SUB_SET) << int(report[1]);
    EXPECT_EQ(console->cboSMBusFrequency->currentIndex(), -1);
    EXPECT_EQ(console->cboSPIclock->count(), 12);
    EXPECT_EQ(console->cboSPIclock->currentIndex(), -1);
    frmMain& c = *console;
    const std::vector<QCheckBox*> options{c.chkRepeatedStart, c.chkStoppedWrite, c.chkExtendHold,
                                          c.chkSPIckpol,      c.chkSPIckpha,     c.chkSPIss};
    EXPECT_EQ(checkedIndexes(options), (std::vector<int>{1, 2, 4, 5}));
    EXPECT_EQ(checkedIndexes(c.chkOpenCollectorP1), (std::vector<int>{0, 7}));
    EXPECT_EQ(checkedIndexes(c.chkOpenCollectorP2), (std::vector<int>{1, 3}));
    EXPECT_TRUE(c.chkWeakPullUpDisable->isChecked());

    settings.port1Levels = 0xA5, settings.port2Levels = 0x3C;
    EXPECT_EQ(sentBy([&c] { c.getGPvalue(); }), Lines{request({1, CMD_GP_VALUE, SUB_GET, 1})});
    EXPECT_EQ(c.lblGPReadVal[0]->text(), "A5");
    EXPECT_EQ(c.lblGPReadVal[1]->text(), "3C");
    EXPECT_EQ(checkedIndexes(c.chkGPvalueP1), (std::vector<int>{0, 2, 5, 7}));
    EXPECT_EQ(checkedIndexes(c.chkGPvalueP2), (std::vector<int>{2, 3}));  // bits 4, 5 only in the label
}

struct ConsoleFields : Console {
    void SetUp() override {
        load();
        for (QLineEdit* cell : console->txtReadVal) cell->setText("--");
    }
    sim::TolvaneChip& chip() { return rig.board().chip; }
    // One transfer (a write when values are given); the reports it sent.
    std::vector<Report> transfer(const QString& start, const QString& count, const QStringList& values = {}) {
        const bool write = !values.isEmpty();
        (write ? console->txtStartRegWr : console->txtStartRegRD)->setText(start);
        (write ? console->txtNumToWrite : console->txtNumToRead)->setText(count);
        for (int i = 0; i < values.size(); ++i) console->txtWriteVal[i]->setText(values[i]);
        const std::size_t mark = rig.mark();
        write ? console->cmdSimpleI2cWr_Click() : console->cmdSimpleI2cRd_Click();
        return rig.received(mark);
    }
    // The read column: "--" except in the rows given.
    QStringList column(std::initializer_list<std::pair<int, QString>> rows = {}) const {
        QStringList cells(frmMain::kGridRows, "--");
        for (const auto& [row, text] : rows) cells[row] = text;
        return cells;
    }
    QStringList readColumn() const {
        QStringList cells;
        for (const QLineEdit* cell : console->txtReadVal) cells << cell->text();
        return cells;
    }
};

TEST_F(ConsoleFields, SetsAndTransfersGoOutAsTheProtocolLaysThemOut) {
    frmMain& c = *console;
    const auto pick = [](QComboBox* list, int code) { list->setCurrentIndex(list->findData(code)); };
    for (const auto& [action, expected] : std::vector<std::pair<std::function<void()>, std::string>>{
             {[&] { c.chkLED[1]->setChecked(true); }, request({1, 1, 0, 2})},  // red LED on
             {[&] { c.chkWeakPullUpEnableOnRead->setChecked(false), c.getGPvalue(); }, request({1, 3, 1, 0})},
             {[&] { pick(c.cboSMBusFrequency, 120); }, request({1, 5, 0, 120})},
             {[&] { pick(c.cboSPIclock, 7); }, request({1, 8, 0, 7})}})
        EXPECT_EQ(sentBy(action), Lines{expected});

    // Without random access no register byte is sent and the start fields are ignored.
    // No values: a read.
    for (const auto& [random, start, count, values, bytes] :
         std::vector<std::tuple<bool, const char*, const char*, QStringList, Bytes>>{
             {true, "4", "2", {}, {0x01, 0x06, 0x89, 0x02, 0x01, 0x04}},
             {true, "02", "1", {"FF"}, {0x01, 0x06, 0x88, 0x01, 0x01, 0x02, 0xFF}},
             {true, "3", "2", {"aa", "0B"}, {0x01, 0x06, 0x88, 0x02, 0x01, 0x03, 0xAA, 0x0B}},
             {false, "??", "1", {"40"}, {0x01, 0x06, 0x88, 0x01, 0x00, 0x40}},
             {false, "??", "1", {}, {0x01, 0x06, 0x89, 0x01, 0x00}}}) {
        console->chkRandom->setChecked(random);
        const std::vector<Report> sent = transfer(start, count, values);
        ASSERT_EQ(sent.size(), 1u) << start;
        EXPECT_EQ(head(sent[0], bytes.size()), bytes) << start;
    }
    EXPECT_EQ(chip().reg(2), 0xFF);
    EXPECT_NE(readColumn()[0], "--");  // the current register's byte lands in row 00
}

TEST_F(ConsoleFields, AReadFillsTheRowsOfItsRegistersWithinTheGrid) {
    chip().setReg(4, 0x12);
    chip().setReg(5, 0xB7);
    const int events = rig.events.count();
    transfer("4", "2");
    EXPECT_EQ(readColumn(), column({{4, "12"}, {5, "B7"}}));
    EXPECT_GT(rig.events.count(), events);  // other handlers get their turn after the transfer

    EXPECT_EQ(transfer("1E", "4").at(0)[3], 4);  // all four read, two shown
    EXPECT_EQ(transfer("20", "1").size(), 1u);   // read, shown nowhere
    EXPECT_EQ(readColumn(), column({{4, "12"}, {5, "B7"}, {0x1E, "00"}, {0x1F, "00"}}));

    chip().acknowledges = false;
    transfer("04", "2");
    EXPECT_EQ(readColumn(), column({{4, "00"}, {5, "00"}, {0x1E, "00"}, {0x1F, "00"}}));
}

TEST_F(ConsoleFields, InvalidFieldsSendNothingAndChangeNoRow) {
    for (const auto& [start, count] :
         {std::pair{"04", "0"}, {"04", "33"}, {"04", "two"}, {"G1", "1"}, {"100", "1"}, {"", "1"}})
        EXPECT_TRUE(transfer(start, count).empty()) << start << " " << count;
    EXPECT_EQ(readColumn(), column());
    EXPECT_TRUE(transfer("00", "40", {"01"}).empty());
    EXPECT_TRUE(transfer("-1", "1", {"01"}).empty());
    EXPECT_TRUE(transfer("00", "2", {"01", "x"}).empty());  // every value sent must be valid
    EXPECT_EQ(chip().reg(0), 0x00);
}

// Typed digits are taken only after half a second, and the same text runs nothing; the box always
// holds the write form and transfers use the read form.
TEST_F(ConsoleFields, TheAddressBoxTakesTypedDigitsLateAndHoldsTheWriteForm) {
    const std::uint32_t start = rig.clock.milliseconds();
    const int events = rig.events.count();
    console->txtI2Caddress->setText("88");
    EXPECT_EQ(rig.clock.milliseconds(), start);
    EXPECT_EQ(rig.events.count(), events);

    bool changedEarly = false;
    rig.events.meanwhile = [&] {
        if (rig.clock.milliseconds() - start < 500)
            changedEarly |= rig.program.link.SlaveAddress() != 0x88 || console->txtI2Caddress->text() != "7";
    };
    console->txtI2Caddress->setText("7");
    EXPECT_FALSE(changedEarly);
    EXPECT_GE(rig.clock.milliseconds() - start, 500u);
    rig.events.meanwhile = nullptr;
    // "fG" stops at a non-digit.
    for (const auto& [typed, shown, bits] :
         std::vector<std::tuple<const char*, const char*, std::vector<int>>>{
             {"7", "06", {0, 1}}, {"89", "88", {2, 6}}, {"fG", "0E", {0, 1, 2}}}) {
        console->txtI2Caddress->setText(typed);
        EXPECT_EQ(console->txtI2Caddress->text(), shown);
        EXPECT_EQ(checkedIndexes(console->chkADDRbit), bits) << typed;
    }
    console->chkADDRbit[6]->setChecked(true);  // a bit set by hand reaches the box
    EXPECT_EQ(console->txtI2Caddress->text(), "8E");
    EXPECT_EQ(transfer("00", "1").at(0)[2], 0x8F);
}

TEST(ClockLists, SclRunsFrom100kHzUpToTheBaseClockAndSpiListsTheDesignedRows) {
    const auto texts = [](const std::vector<ClockRow>& rows) {
        QStringList list;
        for (const ClockRow& row : rows) list << row.text;
        return list;
    };
    const std::vector<ClockRow> scl = sclClockRows(12);
    ASSERT_EQ(scl.size(), 120u);
    EXPECT_EQ(texts({scl.begin(), scl.begin() + 4}), (QStringList{"100", "100", "101", "102"}));
    EXPECT_EQ(texts({scl.end() - 3, scl.end()}), (QStringList{"4000", "6000", "12000"}));
    EXPECT_EQ(scl.front().code, 120);
    EXPECT_EQ(scl[rowOfCode(scl, 30)].text, "400");
    // 26 MHz / 256 would still be 101 kHz, but the set command carries the code in one byte.
    EXPECT_EQ(sclClockRows(26).front().code, 255);
    EXPECT_EQ(sclClockRows(255).back().text, "255000");  // no 16-bit overflow

    const std::vector<ClockRow> spi = spiClockRows(24);  // truncated to whole kHz
    EXPECT_EQ(texts(spi).join(' '),
              "0.5 0.521 0.545 0.571 0.6 0.631 0.666 0.705 0.75 0.8 0.857 0.923 1 1.09 1.2 "
              "1.333 1.5 1.714 2 2.4 3 4 6 12");
    for (std::size_t i = 0; i < spi.size(); ++i) EXPECT_EQ(spi[i].code, 23 - static_cast<int>(i));
    EXPECT_EQ(spi[rowOfCode(spi, 5)].text, "2");
    EXPECT_EQ(rowOfCode(spiClockRows(12), 12), -1);  // 480 kHz is too slow to be listed
    EXPECT_EQ(spiClockRows(200).front().text, "4.166");
}

// A query the board never answers, or a set it never takes (it was unplugged), shows the box; Cancel
// ends the program once, with every handle closed and nothing more sent.
TEST(ConsoleLinkFailure, AFailedQueryOrSetShowsTheRetryCancelBoxAndCancelEnds) {
    // The load's box comes before the board is named: no title.
    for (const auto& [what, fail, panel] :
         std::vector<std::tuple<const char*, std::function<void(Rig&)>, bool>>{
             {"LED query of the load", [](Rig& r) { r.board().dropAnswers(1); }, false},
             {"LED set", [](Rig& r) { r.console().chkLED[1]->click(); }, true},
             {"SPI clock set", [](Rig& r) { r.console().cboSPIclock->setCurrentIndex(0); }, true}}) {
        SCOPED_TRACE(what);
        Rig rig;
        if (!panel) fail(rig);
        rig.chooseTolvane();
        if (panel) rig.bus.unplug(rig.board()), fail(rig);
        ASSERT_EQ(rig.dialogs.shown.size(), 1u);
        const MessageBoxRequest& box = rig.dialogs.shown[0];
        EXPECT_EQ(std::tuple(box.title, box.text, box.buttons),
                  std::tuple(panel ? "Tolvane Evaluation Board" : "",
                             "Please check USB connection.\r\ncheckStatus", DialogButtons::RetryCancel));
        EXPECT_EQ(rig.exit.count, 1) << "the script answers Cancel";
        EXPECT_EQ(rig.bus.openHandleCount(), 0);
        EXPECT_EQ(rig.board().received.size(), panel ? 9u : 1u);
        EXPECT_EQ(rig.program.hasPanel(), panel);
    }
}

}  // namespace
