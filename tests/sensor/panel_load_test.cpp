// The panel as it opens: designed state, no chip access, captions, layout, and closing it.
#include <gtest/gtest.h>

#include <QDir>

#include "common/palette.h"
#include "shell/frmStartup.h"
#include "tests/sensor/panel_fixture.h"

namespace {

TEST(PanelLoad, ShowsTheWriteCopiesAndSendsNothingToTheBoard) {
    Rig rig;
    rig.program.start();
    rig.console();  // the board's start-up read-back happens here
    const std::size_t afterConsole = rig.mark();
    rig.program.startup().cboDeviceSelect->setCurrentIndex(1);

    frmTolvane& panel = rig.program.panel();
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(rig.mark(), afterConsole) << "the panel's load must not touch the board";
    EXPECT_EQ(rig.board().chip.reg(0), 0x00) << "the chip keeps what it held";

    const std::array<const char*, 4> written{"80", "00", "FF", "00"};
    for (int n = 0; n < 4; ++n) EXPECT_EQ(panel.txtRegHex[n]->text(), written[n]) << n;
    for (int n = 0; n < 8; ++n) EXPECT_EQ(panel.txtRegRd[n]->text(), "XX") << n;
    EXPECT_EQ(panel.RegShadow, (std::array<std::uint8_t, 4>{0x80, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(panel.ReadCount, 2);
    EXPECT_FALSE(panel.Collecting || panel.StopRequested || panel.PendingUpdate ||
                 panel.PendingCommandWrite || panel.PendingControlWrite || panel.PendingHighLimitWrite ||
                 panel.PendingLowLimitWrite || panel.PendingClearInt || panel.PendingRegisterRead);
    EXPECT_EQ(panel.txtInterval->text(), "100");
    EXPECT_EQ(panel.txtIUpperLimit->text(), "65280");
    EXPECT_EQ(panel.txtILowerLimit->text(), "0");

    ASSERT_EQ(panel.LstMode2->count(), 3);
    EXPECT_EQ(panel.LstMode2->item(0)->text(), "Diode 1");
    EXPECT_EQ(panel.LstMode2->item(1)->text(), "Diode 2");
    EXPECT_EQ(panel.LstMode2->item(2)->text(), "Difference");
    EXPECT_EQ(panel.LstMode2->currentRow(), 0);
    ASSERT_EQ(panel.LstDeviceSel->count(), 1);
    EXPECT_EQ(panel.LstDeviceSel->item(0)->text(), "Tolvane ADR-44");
    EXPECT_EQ(panel.LstDeviceSel->currentRow(), 0);
    EXPECT_EQ(panel.ShpAttach->fillColour(), BrightGreen);
    EXPECT_EQ(panel.ShpHandleStatus->fillColour(), BrightGreen);
}

TEST_F(PanelTest, OptionsStartAsDesignedWithTheUnusedControlsHidden) {
    frmTolvane& p = panel();
    for (QRadioButton* selected :
         {p.OptTimeBase[0], p.OptGain[0], p.OptITime[0], p.OptMeasure[0], p.OptMode[0], p.OpInt[0]}) {
        EXPECT_TRUE(selected->isChecked()) << selected->text().toStdString();
    }
    EXPECT_FALSE(p.ChkCommand[3]->isChecked());
    EXPECT_TRUE(p.ChkIpol->isChecked());

    for (QWidget* hidden : std::initializer_list<QWidget*>{
             p.ChkCommand[0], p.ChkCommand[1], p.ChkCommand[2], p.OptMode[1], p.OptTimeBase[1],
             p.frmGraphSelect, p.LblCommTest, p.Label17, p.txtReading2, p.txtReading3}) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->metaObject()->className();
    }
    for (QWidget* shown : std::initializer_list<QWidget*>{p.ChkCommand[3], p.OptMode[0], p.OptMode[2],
                                                          p.frmMode, p.frmTimeBase, p.FrmDevice, p.cbReset}) {
        EXPECT_TRUE(shown->isVisible()) << shown->metaObject()->className();
    }
}

// Captions are the program's own texts, blanks included; "&&" shows a single "&" on buttons.
TEST_F(PanelTest, CaptionsAreTheDesignedTexts) {
    frmTolvane& p = panel();
    const std::vector<std::pair<QString, QString>> captions{
        {p.Frame2->title(), "Device Registers"},
        {p.Frame1->title(), "Command Reg - b000"},
        {p.frmadccontrol->title(), "Control Reg - b001"},
        {p.frControl->title(), "Interrupt Control"},
        {p.frmTimeBase->title(), "Sampling Time Base Control"},
        {p.ChkCommand[3]->text(), "ADC &&  Device Power Down"},
        {p.cmdSetControl->text(), "Write  Control Register R1"},
        {p.cmdRead_Measurements->text(), "Read Lux && ICycle R4-R7"},
        {p.Label22[6]->text(), "EOC &h80"},
        {p.Label23->text(), "Reg b001 Bit &h20"},
        {p.Label5[0]->text(), "ADR   Wr         Rd"},
        {p.Label5[1]->text(), "Meas  MSB       LSB"},
        {p.Label17->text(), "Integration Counter                              Lux Cntr"},
        {p.OpInt[0]->toolTip(),
         "Interrupt High / Low threshold level must exist for 1 integration cycle before Interrupt Signal "
         "will be "
         "asserted."},
        {p.OpInt[3]->toolTip(),
         "Interrupt High / Low threshold level must exist for 16 integration cycles before Interrupt Signal "
         "will "
         "be asserted."},
        {p.txtIUpperLimit->toolTip(),
         "High  Limit, Interrupt Level in decimal. Press Enter to update R2 Register."},
        {p.txtRegHex[0]->toolTip(), "Display actual hex value of  Command  Register. "},
    };
    for (const auto& [shown, designed] : captions) EXPECT_EQ(shown, designed);
}

TEST_F(PanelTest, CloseBoxEndsTheProgramAsExitDoes) {
    frmTolvane& p = panel();
    p.Collecting = true;
    p.PendingUpdate = p.PendingClearInt = p.PendingRegisterRead = true;

    p.close();

    EXPECT_TRUE(rig.exit.requested());
    EXPECT_FALSE(p.Collecting);
    EXPECT_TRUE(p.StopRequested);
    EXPECT_FALSE(p.PendingUpdate || p.PendingClearInt || p.PendingRegisterRead);
}

TEST_F(PanelTest, MenuBarOffersTheAboutWindowAndAScriptEntryThatDoesNothing) {
    panel().mnuScript->trigger();
    EXPECT_FALSE(rig.program.hasAbout());
    panel().frmAbout->trigger();
    EXPECT_TRUE(rig.program.hasAbout());
}

TEST_F(PanelTest, ScreenshotFitsASmallLaptopScreen) {
    frmTolvane& p = panel();
    p.adjustSize();
    EXPECT_LE(p.width(), 1366 - 16) << "room for the window frame";
    EXPECT_LE(p.height(), 768 - 40 - 30) << "room for a task bar and the title bar";

    const QString path = QDir(TOLVANE_TEST_OUTPUT_DIR).filePath("sensor_panel.png");
    ASSERT_TRUE(p.grab().save(path)) << path.toStdString();
}

}  // namespace
