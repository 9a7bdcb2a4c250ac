// The slave address box and its bit boxes.
#include <gtest/gtest.h>

#include "console/frmMain.h"
#include "tests/support/rig.h"

namespace {

struct SlaveAddress : ::testing::Test {
    Rig rig;
    frmMain* console = nullptr;

    void SetUp() override {
        rig.chooseTolvane();
        console = &rig.console();
    }
    std::uint8_t address() const { return rig.program.link.SlaveAddress; }
    std::vector<int> checkedBits() const {
        std::vector<int> bits;
        for (int i = 0; i < 7; ++i)
            if (console->chkADDRbit[i]->isChecked()) bits.push_back(i);
        return bits;
    }
};

TEST_F(SlaveAddress, TypedDigitsAreTakenOnlyAfterHalfASecond) {
    const std::uint32_t start = rig.clock.milliseconds();
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
    EXPECT_EQ(checkedBits(), (std::vector<int>{0, 1}));
}

TEST_F(SlaveAddress, TheBoxAlwaysHoldsTheWriteForm) {
    console->txtI2Caddress->setText("7");
    console->txtI2Caddress->setText("89");
    EXPECT_EQ(console->txtI2Caddress->text(), "88");
    EXPECT_EQ(address(), 0x88);
    EXPECT_EQ(checkedBits(), (std::vector<int>{2, 6}));

    console->txtI2Caddress->setText("fG");  // reading stops at the first non-digit
    EXPECT_EQ(console->txtI2Caddress->text(), "0E");
    console->txtI2Caddress->setText("");
    EXPECT_EQ(console->txtI2Caddress->text(), "00");
    EXPECT_EQ(address(), 0x00);

    console->chkADDRbit[6]->setChecked(true);  // a bit set by hand reaches the box
    EXPECT_EQ(console->txtI2Caddress->text(), "80");
    EXPECT_EQ(address(), 0x80);
}

TEST_F(SlaveAddress, RewritingTheSameTextRunsNothing) {
    const std::uint32_t before = rig.clock.milliseconds();
    const int events = rig.events.count();
    console->txtI2Caddress->setText("88");
    EXPECT_EQ(rig.clock.milliseconds(), before);
    EXPECT_EQ(rig.events.count(), events);
}

TEST_F(SlaveAddress, TransfersGoToTheAddressInTheBox) {
    console->txtI2Caddress->setText("90");
    console->txtStartRegRD->setText("00");
    console->txtNumToRead->setText("1");
    const std::size_t mark = rig.mark();
    console->cmdSimpleI2cRd_Click();
    ASSERT_EQ(rig.received(mark).size(), 1u);
    EXPECT_EQ(rig.received(mark)[0][2], 0x91);  // read form of 0x90
}

}  // namespace
