// Every request the program sends, as the board's protocol writes it: literal bytes, not the program's
// own names for them, so a swapped command code or sub-command fails here and not on a real board.
#include <functional>

#include "tests/console/console_fixture.h"

namespace {

struct WireBytes : Console {
    // The reports an action sent, as hexadecimal lines of their first `count` bytes.
    std::vector<std::string> sentBy(const std::function<void()>& action, std::size_t count = 64) {
        const std::size_t mark = rig.mark();
        action();
        std::vector<std::string> lines;
        for (const Report& report : rig.received(mark))
            lines.push_back(hexLine(report).substr(0, 3 * count - 1));
        return lines;
    }
    static int rowOf(const QComboBox* list, int code) { return list->findData(code); }
};

TEST_F(WireBytes, MakingABoardCurrentSendsEveryGetAndTheClockSets) {
    rig.chooseTolvane();
    EXPECT_EQ(sentSince(), (std::vector<std::string>{
                               request({0x01, 0x01, 0x01}),        // LEDs, get
                               request({0x01, 0x05, 0x01}),        // SCL clock, get
                               request({0x01, 0x05, 0x00, 0x1E}),  // SCL clock, set code 30
                               request({0x01, 0x08, 0x01}),        // SPI clock, get
                               request({0x01, 0x08, 0x00, 0x05}),  // SPI clock, set code 5
                               request({0x01, 0x04, 0x01}),        // I2C options, get
                               request({0x01, 0x07, 0x01}),        // SPI options, get
                               request({0x01, 0x02, 0x01}),        // port configuration, get
                               request({0x01, 0x03, 0x01, 0x01}),  // port levels, get with pull-ups
                           }));
}

TEST_F(WireBytes, SetsAndTransfersGoOutAsTheProtocolLaysThemOut) {
    load();
    frmMain& c = *console;
    c.chkRandom->setChecked(true);
    const struct {
        const char* what;
        std::function<void()> action;
        std::size_t bytes;
        std::vector<std::string> expected;
    } cases[] = {
        {"red LED on", [&] { c.chkLED[1]->setChecked(true); }, 64, {request({0x01, 0x01, 0x00, 0x02})}},
        {"port levels without pull-ups",
         [&] {
             c.chkWeakPullUpEnableOnRead->setChecked(false);
             c.getGPvalue();
         },
         64,
         {request({0x01, 0x03, 0x01, 0x00})}},
        {"SCL code 120",
         [&] { c.cboSMBusFrequency->setCurrentIndex(rowOf(c.cboSMBusFrequency, 120)); },
         64,
         {request({0x01, 0x05, 0x00, 0x78})}},
        {"SPI code 7",
         [&] { c.cboSPIclock->setCurrentIndex(rowOf(c.cboSPIclock, 7)); },
         64,
         {request({0x01, 0x08, 0x00, 0x07})}},
        // An I2C transfer keeps what the last exchange left after its payload: only its head is pinned.
        {"read of 4 from register 10",
         [&] {
             c.txtStartRegRD->setText("10");
             c.txtNumToRead->setText("4");
             c.cmdSimpleI2cRd_Click();
         },
         6,
         {"01 06 89 04 01 10"}},
        {"write of AA BB to register 03",
         [&] {
             c.txtStartRegWr->setText("03");
             c.txtNumToWrite->setText("2");
             c.txtWriteVal[0]->setText("AA");
             c.txtWriteVal[1]->setText("BB");
             c.cmdSimpleI2cWr_Click();
         },
         8,
         {"01 06 88 02 01 03 aa bb"}},
    };
    for (const auto& [what, action, bytes, expected] : cases)
        EXPECT_EQ(sentBy(action, bytes), expected) << what;
}

}  // namespace
