// Register writes and read-back: the indicators, the text comparison, Enter in the write boxes, and
// write boxes that do not hold a byte.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>

#include "common/palette.h"
#include "tests/sensor/panel_fixture.h"

using ::testing::ElementsAre;

namespace {

using RegistersTest = PanelTest;

std::vector<int> colours(const frmTolvane& p, int first, int last) {
    std::vector<int> result;
    for (int n = first; n <= last; ++n) result.push_back(p.ShpInd[n]->fillColour());
    return result;
}

TEST_F(RegistersTest, EachAccessFlipsItsIndicatorsAndAMatchingReadBackShowsNoRed) {
    frmTolvane& p = panel();
    std::size_t from = mark();
    p.cmdSetCommand->click();
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=80", "R00x4"));
    EXPECT_EQ(p.ShpInd[0]->fillColour(), BrightGreen);
    EXPECT_EQ(colours(p, 4, 7), std::vector<int>(4, BrightGreen));
    EXPECT_EQ(p.txtRegRd[0]->text(), "80");
    EXPECT_EQ(p.txtRegRd[2]->text(), "FF");

    from = mark();
    p.cmdSetIntLow->click();
    EXPECT_THAT(trafficSince(from), ElementsAre("W03=00", "R00x4"));
    EXPECT_EQ(p.ShpInd[3]->fillColour(), BrightGreen);
    EXPECT_EQ(p.ShpInd[0]->fillColour(), BrightGreen) << "only the accessed register's indicator flips";
    EXPECT_EQ(colours(p, 4, 7), std::vector<int>(4, Green));
}

TEST_F(RegistersTest, MismatchIsJudgedOnTheTextsAsShown) {
    frmTolvane& p = panel();
    typeAndEnter(p.txtRegHex[1], "5");
    EXPECT_EQ(chip().reg(1), 0x05);
    EXPECT_EQ(p.txtRegRd[1]->text(), "05");
    EXPECT_EQ(p.ShpInd[5]->fillColour(), BrightRed) << "\"5\" and \"05\" differ as text";
    EXPECT_EQ(p.ShpInd[6]->fillColour(), BrightGreen) << "R2 reads back \"FF\" as written";

    typeAndEnter(p.txtRegHex[1], "05");
    EXPECT_EQ(p.ShpInd[5]->fillColour(), BrightGreen) << "the next matching read-back clears the red";
}

TEST_F(RegistersTest, InterruptFlagIndicatorFollowsBitFiveOfR1) {
    frmTolvane& p = panel();
    chip().setReg(1, 0x2C);
    p.cmdRead_All->click();
    EXPECT_EQ(p.ShpINt->fillColour(), BrightRed);
    EXPECT_EQ(p.ShpInd[5]->fillColour(), BrightRed);

    chip().setReg(1, 0x0C);
    p.cmdRead_All->click();
    EXPECT_EQ(p.ShpINt->fillColour(), Black);
}

TEST_F(RegistersTest, MeasurementRegistersAreReadTogetherAndTheirIndicatorsFlipTogether) {
    frmTolvane& p = panel();
    const std::array<std::uint8_t, 4> values{0x34, 0x12, 0x78, 0x56};
    for (int n = 0; n < 4; ++n) chip().setReg(4 + n, values[n]);
    const std::size_t from = mark();

    p.cmdRead_Measurements->click();

    EXPECT_THAT(trafficSince(from), ElementsAre("R04x4"));
    const std::array<const char*, 4> shown{"34", "12", "78", "56"};
    for (int n = 0; n < 4; ++n) EXPECT_EQ(p.txtRegRd[4 + n]->text(), shown[n]);
    EXPECT_EQ(colours(p, 8, 11), std::vector<int>(4, BrightGreen));
    p.ShpInd[10]->setFillColour(BrightRed);  // whatever the others show, they follow indicator 8
    p.cmdRead_Measurements->click();
    EXPECT_EQ(colours(p, 8, 11), std::vector<int>(4, Green));
}

TEST_F(RegistersTest, EnterUppercasesTheBoxAndWritesItsRegister) {
    frmTolvane& p = panel();
    std::size_t from = mark();
    typeAndEnter(p.txtRegHex[0], "8c");
    EXPECT_EQ(p.txtRegHex[0]->text(), "8C");
    EXPECT_EQ(p.RegShadow[0], 0x8C);
    EXPECT_THAT(trafficSince(from), ElementsAre("W00=8C", "R00x4"));

    from = mark();
    typeAndEnter(p.txtRegHex[2], "10");
    EXPECT_EQ(p.txtIUpperLimit->text(), "4096");
    EXPECT_THAT(trafficSince(from), ElementsAre("W02=10", "R00x4"));
    EXPECT_EQ(chip().reg(2), 0x10);

    typeAndEnter(p.txtRegHex[3], "0f");
    EXPECT_EQ(p.txtILowerLimit->text(), "3840");
    EXPECT_EQ(chip().reg(3), 0x0F);
}

TEST_F(RegistersTest, WhileCollectingAWriteGoesOutWithoutItsReadBack) {
    frmTolvane& p = panel();
    p.Collecting = true;
    p.PendingLowLimitWrite = p.PendingCommandWrite = true;
    std::size_t from = mark();

    p.cmdSetIntLow_Click();
    typeAndEnter(p.txtRegHex[0], "84");  // Enter is never deferred

    EXPECT_THAT(trafficSince(from), ElementsAre("W03=00", "W00=84"));
    EXPECT_FALSE(p.PendingLowLimitWrite || p.PendingCommandWrite);

    from = mark();
    p.cmdRead_All->click();
    EXPECT_EQ(rig.mark(), from);
    EXPECT_TRUE(p.PendingRegisterRead && p.PendingUpdate);
    EXPECT_EQ(p.ShpInd[4]->fillColour(), BrightRed) << "compared with the earlier read-back (\"XX\")";
}

TEST_F(RegistersTest, AWriteBoxThatIsNotOneByteIsRefusedNamingTheRegister) {
    frmTolvane& p = panel();
    const std::array<QPushButton*, 4> buttons{p.cmdSetCommand, p.cmdSetControl, p.cmdSetIntHigh,
                                              p.cmdSetIntLow};
    const std::array<QString, 4> names{"Command Register R0", "Control Register R1",
                                       "Interrupt High Limit Register R2", "Interrupt Low Limit Register R3"};
    for (const char* bad : {"", "1G", "100", " 5", "-1"}) {
        for (int n = 0; n < 4; ++n) {
            SCOPED_TRACE(QString("R%1 \"%2\"").arg(n).arg(bad).toStdString());
            p.txtRegHex[n]->setText(bad);
            const std::size_t from = mark();
            const std::size_t boxes = rig.dialogs.shown.size();

            buttons[n]->click();

            ASSERT_EQ(rig.dialogs.shown.size(), boxes + 1);
            const MessageBoxRequest& box = rig.dialogs.shown.back();
            EXPECT_EQ(box.text, names[n] + ": enter one or two hexadecimal digits (00 to FF).");
            EXPECT_EQ(box.title, "Tolvane");
            EXPECT_EQ(box.buttons, DialogButtons::Ok);
            EXPECT_EQ(rig.mark(), from) << "nothing written";
            EXPECT_EQ(p.RegShadow, (std::array<std::uint8_t, 4>{0x80, 0x00, 0xFF, 0x00}));
            EXPECT_EQ(p.ShpInd[n]->fillColour(), Black) << "no access, no flip";
        }
    }
}

TEST_F(RegistersTest, EnterInALimitBoxWithABadByteLeavesTheThresholdAlone) {
    frmTolvane& p = panel();
    const std::size_t from = mark();
    typeAndEnter(p.txtRegHex[2], "XYZ");
    EXPECT_EQ(rig.dialogs.shown.size(), 1u);
    EXPECT_EQ(p.txtIUpperLimit->text(), "65280");
    EXPECT_EQ(rig.mark(), from);
}

}  // namespace
