// The console's own requests: the sets, the slave address and the register block transfers through
// its fields and grid, checked on the wire and in the grid.
#include <functional>

#include "tests/console/console_fixture.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

struct ConsoleFields : Console {
    void SetUp() override {
        load();
        for (QLineEdit* cell : console->txtReadVal) cell->setText("--");
    }
    sim::TolvaneChip& chip() { return rig.board().chip; }
    std::uint8_t address() const { return rig.program.link.SlaveAddress; }
    std::vector<Report> sentBy(const std::function<void()>& action) {
        const std::size_t mark = rig.mark();
        action();
        return rig.received(mark);
    }
    // Each runs one transfer and returns the reports it sent.
    std::vector<Report> read(const QString& start, const QString& count) {
        console->txtStartRegRD->setText(start);
        console->txtNumToRead->setText(count);
        return sentBy([this] { console->cmdSimpleI2cRd_Click(); });
    }
    std::vector<Report> write(const QString& start, const QString& count, const QStringList& values) {
        console->txtStartRegWr->setText(start);
        console->txtNumToWrite->setText(count);
        for (int i = 0; i < values.size(); ++i) console->txtWriteVal[i]->setText(values[i]);
        return sentBy([this] { console->cmdSimpleI2cWr_Click(); });
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

TEST_F(ConsoleFields, SetsGoOutAsTheProtocolLaysThemOut) {
    frmMain& c = *console;
    const auto row = [](const QComboBox* list, int code) { return list->findData(code); };
    const struct {
        const char* what;
        std::function<void()> action;
        std::string expected;
    } cases[] = {
        {"red LED on", [&] { c.chkLED[1]->setChecked(true); }, request({0x01, 0x01, 0x00, 0x02})},
        {"port levels without pull-ups",
         [&] {
             c.chkWeakPullUpEnableOnRead->setChecked(false);
             c.getGPvalue();
         },
         request({0x01, 0x03, 0x01, 0x00})},
        {"SCL code 120", [&] { c.cboSMBusFrequency->setCurrentIndex(row(c.cboSMBusFrequency, 120)); },
         request({0x01, 0x05, 0x00, 0x78})},
        {"SPI code 7", [&] { c.cboSPIclock->setCurrentIndex(row(c.cboSPIclock, 7)); },
         request({0x01, 0x08, 0x00, 0x07})},
    };
    for (const auto& [what, action, expected] : cases) {
        const std::size_t mark = rig.mark();
        action();
        EXPECT_EQ(sentSince(mark), std::vector<std::string>{expected}) << what;
    }
}

TEST_F(ConsoleFields, AReadFillsTheRowsOfItsRegistersWithinTheGrid) {
    chip().setReg(4, 0x12);
    chip().setReg(5, 0xB7);
    const int events = rig.events.count();
    const std::vector<Report> sent = read("4", "2");
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(head(sent[0], 6), (Bytes{0x01, 0x06, 0x89, 0x02, 0x01, 0x04}));
    EXPECT_EQ(readColumn(), column({{4, "12"}, {5, "B7"}}));
    EXPECT_GT(rig.events.count(), events);  // other handlers get their turn after the transfer

    EXPECT_EQ(read("1E", "4").at(0)[3], 4);  // all four read, two shown
    EXPECT_EQ(read("20", "1").size(), 1u);   // read, shown nowhere
    EXPECT_EQ(readColumn(), column({{4, "12"}, {5, "B7"}, {0x1E, "00"}, {0x1F, "00"}}));

    chip().acknowledges = false;
    read("04", "2");
    EXPECT_EQ(readColumn(), column({{4, "00"}, {5, "00"}, {0x1E, "00"}, {0x1F, "00"}}));
    EXPECT_EQ(rig.program.link.AnswerStatus, 1);
}

TEST_F(ConsoleFields, AWriteTakesItsDataFromTheFirstRows) {
    std::vector<Report> sent = write("02", "1", {"FF"});
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(head(sent[0], 7), (Bytes{0x01, 0x06, 0x88, 0x01, 0x01, 0x02, 0xFF}));
    EXPECT_EQ(chip().reg(2), 0xFF);

    sent = write("3", "2", {"aa", "0B"});
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(head(sent[0], 8), (Bytes{0x01, 0x06, 0x88, 0x02, 0x01, 0x03, 0xAA, 0x0B}));
}

TEST_F(ConsoleFields, WithoutRandomAccessNoRegisterByteIsSentAndStartFieldsAreIgnored) {
    console->chkRandom->setChecked(false);
    EXPECT_EQ(head(write("??", "1", {"40"}).at(0), 6), (Bytes{0x01, 0x06, 0x88, 0x01, 0x00, 0x40}));
    EXPECT_EQ(head(read("??", "1").at(0), 5), (Bytes{0x01, 0x06, 0x89, 0x01, 0x00}));
    EXPECT_NE(readColumn()[0], "--");  // the current register's byte lands in row 00
}

TEST_F(ConsoleFields, InvalidFieldsSendNothingAndChangeNoRow) {
    for (const auto& [start, count] :
         {std::pair{"04", "0"}, {"04", "33"}, {"04", "two"}, {"G1", "1"}, {"100", "1"}, {"", "1"}})
        EXPECT_TRUE(read(start, count).empty()) << start << " " << count;
    EXPECT_EQ(readColumn(), column());
    EXPECT_TRUE(write("00", "40", {"01"}).empty());
    EXPECT_TRUE(write("-1", "1", {"01"}).empty());
    EXPECT_TRUE(write("00", "2", {"01", "x"}).empty());  // every value sent must be valid
    EXPECT_EQ(chip().reg(0), 0x00);
}

TEST_F(ConsoleFields, TypedDigitsAreTakenOnlyAfterHalfASecondAndTheSameTextRunsNothing) {
    const std::uint32_t start = rig.clock.milliseconds();
    const int events = rig.events.count();
    console->txtI2Caddress->setText("88");
    EXPECT_EQ(rig.clock.milliseconds(), start);
    EXPECT_EQ(rig.events.count(), events);

    bool changedEarly = false;
    rig.events.meanwhile = [&] {
        if (rig.clock.milliseconds() - start < 500)
            changedEarly |= address() != 0x88 || console->txtI2Caddress->text() != "7";
    };
    console->txtI2Caddress->setText("7");
    EXPECT_FALSE(changedEarly);
    EXPECT_GE(rig.clock.milliseconds() - start, 500u);
    EXPECT_EQ(console->txtI2Caddress->text(), "06");
    EXPECT_EQ(address(), 0x06);
    EXPECT_EQ(checkedIndexes(console->chkADDRbit), (std::vector<int>{0, 1}));
}

TEST_F(ConsoleFields, TheBoxAlwaysHoldsTheWriteFormAndTransfersUseIt) {
    console->txtI2Caddress->setText("7");
    console->txtI2Caddress->setText("89");
    EXPECT_EQ(console->txtI2Caddress->text(), "88");
    EXPECT_EQ(address(), 0x88);
    EXPECT_EQ(checkedIndexes(console->chkADDRbit), (std::vector<int>{2, 6}));

    console->txtI2Caddress->setText("fG");  // reading stops at the first non-digit
    EXPECT_EQ(console->txtI2Caddress->text(), "0E");
    console->chkADDRbit[6]->setChecked(true);  // a bit set by hand reaches the box
    EXPECT_EQ(console->txtI2Caddress->text(), "8E");
    EXPECT_EQ(address(), 0x8E);

    EXPECT_EQ(read("00", "1").at(0)[2], 0x8F);  // the read form
}

}  // namespace
