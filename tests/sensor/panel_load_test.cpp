// The panel as it opens: designed state, no chip access, captions, layout, and closing it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScrollBar>

#include "common/palette.h"
#include "shell/frmStartup.h"
#include "tests/sensor/panel_fixture.h"
#include "tests/support/screenshots.h"

namespace {

TEST(PanelLoad, ShowsTheDesignedStateAndSendsNothingToTheBoard) {
    Rig rig;
    rig.program.start();
    rig.console();  // the board's start-up read-back happens here
    const std::size_t afterConsole = rig.mark();
    rig.program.startup().cboDeviceSelect->setCurrentIndex(1);

    frmTolvane& p = rig.program.panel();
    EXPECT_EQ(rig.mark(), afterConsole) << "the panel's load must not touch the board";
    const std::array<const char*, 4> written{"80", "00", "FF", "00"};
    for (int n = 0; n < 4; ++n) EXPECT_EQ(p.txtRegHex[n]->text(), written[n]) << n;
    for (int n = 0; n < 8; ++n) EXPECT_EQ(p.txtRegRd[n]->text(), "XX") << n;
    EXPECT_EQ(p.RegShadow, (std::array<std::uint8_t, 4>{0x80, 0x00, 0xFF, 0x00}));
    EXPECT_EQ(p.ReadCount, 2);
    EXPECT_TRUE(!p.Collecting && !p.StopRequested && pendingFlags(p).empty());
    EXPECT_EQ(p.acquisition().collection->txtInterval->text(), "100");
    ASSERT_EQ(p.LstMode2->count(), 3);
    EXPECT_EQ(p.LstMode2->item(2)->text(), "Difference");
    EXPECT_EQ(p.LstMode2->currentRow(), 0);
    EXPECT_EQ(p.LstDeviceSel->currentItem()->text(), "Tolvane ADR-44");
    EXPECT_EQ(p.ShpHandleStatus->fillColour(), BrightGreen);

    for (QAbstractButton* on :
         std::initializer_list<QAbstractButton*>{p.OptTimeBase[0], p.OptGain[0], p.OptITime[0],
                                                 p.OptMeasure[0], p.OptMode[0], p.OpInt[0], p.ChkIpol}) {
        EXPECT_TRUE(on->isChecked()) << on->text().toStdString();
    }
    EXPECT_FALSE(p.ChkCommand[3]->isChecked());
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             p.ChkCommand[0], p.ChkCommand[1], p.ChkCommand[2], p.OptMode[1], p.OptTimeBase[1],
             p.frmGraphSelect, p.LblCommTest, p.acquisition().collection->Label17,
             p.acquisition().collection->txtReading2, p.acquisition().collection->txtReading3}) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->metaObject()->className();
    }
    EXPECT_TRUE(p.frmMode->isVisible() && p.frmTimeBase->isVisible() && p.FrmDevice->isVisible());
}

// The texts most easily got wrong: double blanks, typos and "&&", which shows one "&" on buttons.
TEST_F(PanelTest, CaptionsAreTheDesignedTexts) {
    frmTolvane& p = panel();
    EXPECT_EQ(p.ChkCommand[3]->text(), "ADC &&  Device Power Down");
    EXPECT_EQ(p.cmdRead_Measurements->text(), "Read Lux && ICycle R4-R7");
    EXPECT_EQ(p.Label22[6]->text(), "EOC &h80");
    EXPECT_EQ(p.Label23->text(), "Reg b001 Bit h20");  // a single "&" marks an access key: not shown
    EXPECT_EQ(p.Label5[0]->text(), "ADR   Wr         Rd");
    EXPECT_EQ(p.acquisition().collection->Label17->text(),
              "Integration Counter                              Lux Cntr");
    EXPECT_EQ(p.txtILowerLimit->toolTip(),
              "Low Limit, Interrupt Level in decimal.. Press Enter to update R3 Register.");
    EXPECT_EQ(p.OpInt[3]->toolTip(),
              "Interrupt High / Low threshold level must exist for 16 integration cycles before Interrupt "
              "Signal will be asserted.");
}

TEST_F(PanelTest, CloseBoxEndsTheProgramAsExitDoes) {
    frmTolvane& p = panel();
    p.Collecting = p.PendingUpdate = p.PendingClearInt = p.PendingRegisterRead = true;
    p.close();
    EXPECT_TRUE(rig.exit.requested());
    EXPECT_TRUE(!p.Collecting && p.StopRequested && pendingFlags(p).empty());
}

TEST_F(PanelTest, MenuBarOpensTheAboutWindow) {
    panel().frmAbout->trigger();
    EXPECT_TRUE(rig.program.hasAbout());
}

// Controls whose captions change keep their place, so nothing beside them moves.
TEST_F(PanelTest, ChangingCaptionsMoveNothing) {
    frmTolvane& p = panel();
    p.resize(p.fullSize());
    QApplication::processEvents();
    const QPoint sample = p.cmdSample_Portb->mapTo(&p, QPoint(0, 0));
    const QPoint sync = p.acquisition().collection->cmdSync->mapTo(&p, QPoint(0, 0));
    p.ChkIpol->click();  // "Check to enable Interrupt Polling"
    p.acquisition().collection->cmdStopData->hide();
    QApplication::processEvents();
    EXPECT_EQ(p.cmdSample_Portb->mapTo(&p, QPoint(0, 0)), sample);
    EXPECT_EQ(p.acquisition().collection->cmdSync->mapTo(&p, QPoint(0, 0)), sync);
}

TEST_F(PanelTest, ScreenshotFitsASmallLaptopScreen) {
    frmTolvane& p = panel();
    p.resize(p.fullSize());
    EXPECT_LE(p.width(), 1366 - 16) << "room for the window frame";
    EXPECT_LE(p.height(), 768 - 40 - 30) << "room for a task bar and the title bar";
    const QString path = screenshotPath("sensor_panel.png");
    ASSERT_TRUE(p.grab().save(path)) << path.toStdString();
}

}  // namespace
