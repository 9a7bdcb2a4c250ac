// The panel as it opens: its state and texts, no chip access, a layout that fits a laptop.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenuBar>

#include "common/palette.h"
#include "shell/frmStartup.h"
#include "tests/sensor/panel_fixture.h"
#include "tests/support/user_input.h"

namespace {

TEST(PanelLoad, ShowsTheDesignedStateAndSendsNothingToTheBoard) {
    Rig rig;
    rig.program.start();
    rig.console();  // the board's start-up read-back happens here
    const std::size_t afterConsole = rig.mark();
    rig.program.startup().cboDeviceSelect->setCurrentIndex(1);

    frmTolvane& p = rig.program.panel();
    EXPECT_EQ(rig.mark(), afterConsole) << "the panel's load must not touch the board";
    EXPECT_TRUE(!p.acquisition().loop.ownsChip() && pendingFlags(p).empty());
    ASSERT_EQ(p.LstMode2->count(), 3);
    EXPECT_EQ(p.LstMode2->currentRow(), 0);
    EXPECT_EQ(p.ShpHandleStatus->fillColour(), BrightGreen);

    for (QAbstractButton* on :
         std::initializer_list<QAbstractButton*>{p.OptTimeBase[0], p.OptGain[0], p.OptITime[0],
                                                 p.OptMeasure[0], p.OptMode[0], p.OpInt[0], p.ChkIpol}) {
        EXPECT_TRUE(on->isChecked()) << on->text().toStdString();
    }
    const Acquisition& wing = p.acquisition();
    EXPECT_FALSE(p.ChkCommand[3]->isChecked() || wing.record->chkLogEveryReading->isChecked());
    for (QWidget* hidden : std::initializer_list<QWidget*>{
             p.ChkCommand[0], p.ChkCommand[1], p.ChkCommand[2], p.OptMode[1], p.OptTimeBase[1],
             p.frmGraphSelect, p.LblCommTest, wing.collection->Label17, wing.collection->txtReading2,
             wing.collection->txtReading3}) {
        EXPECT_FALSE(hidden->isVisible()) << hidden->metaObject()->className();
    }
    EXPECT_TRUE(p.frmMode->isVisible() && p.frmTimeBase->isVisible() && p.FrmDevice->isVisible());
}

// The texts the panel opens with, the easily mistyped ones above all: double blanks, the designed
// typos, and "&&", which a button or a check box shows as one "&".
TEST_F(PanelTest, OpensWithTheDesignedTexts) {
    frmTolvane& p = panel();
    const CollectionFrame& c = frame();
    const QString hidden(30, ' ');
    const std::vector<std::pair<QString, QString>> shown{
        {p.windowTitle(), "Tolvane  Light Sensor Evaluation Software"},
        {p.txtRegHex[0]->text() + p.txtRegHex[1]->text() + p.txtRegHex[2]->text() + p.txtRegHex[3]->text(),
         "8000FF00"},
        {p.txtRegRd[0]->text() + p.txtRegRd[7]->text(), "XXXX"},
        {p.ChkCommand[3]->text(), "ADC &&  Device Power Down"},
        {p.cmdRead_Measurements->text(), "Read Lux && ICycle R4-R7"},
        {p.cmdSetControl->text(), "Write  Control Register R1"},
        {p.Label22[6]->text(), "EOC &h80"},
        {p.Label23->text(), "Reg b001 Bit h20"},  // a single "&" marks an access key: not shown
        {p.Label5[0]->text(), "ADR   Wr         Rd"},
        {p.LstDeviceSel->currentItem()->text(), "Tolvane ADR-44"},
        {p.LstMode2->item(2)->text(), "Difference"},
        {c.Label17->text(), "Integration Counter" + hidden + "Lux Cntr"},
        {c.txtInterval->text(), "100"},
        {c.cmdCollectData->toolTip(),
         "Begins a continuous timer controller trigger, reading and display of the Tolvex Ambient Light "
         "Reading."},
        {p.txtILowerLimit->toolTip(),
         "Low Limit, Interrupt Level in decimal.. Press Enter to update R3 Register."},
        {p.OptTimeBase[0]->toolTip(),
         "Light sensing time based based on R1 100mSec / 100K Ohm value. Measurements start and stop via "
         "internal device clock."},
        {wing().chartFrame->txtScale->toolTip(),
         "Enter a number here followed by the \"Enter\" key to set the Max range toa specific number."},
        {p.OpInt[3]->toolTip(),
         "Interrupt High / Low threshold level must exist for 16 integration cycles before Interrupt Signal "
         "will be asserted."},
        {c.lblIlluminance->text() + " " + c.lblLux->text(), "Illuminance lx"},
        {c.txtIlluminance->toolTip(),
         "Illuminance of the last reading in lux, from its count and the range and resolution in force."},
        {wing().record->chkLogEveryReading->text(), "Log every reading"},
        {wing().record->chkLogEveryReading->toolTip(),
         "While checked, every reading of a run is written to its own CSV file as it is taken, beside the "
         "measurement file."},
    };
    for (const auto& [actual, designed] : shown) EXPECT_EQ(actual, designed);
}

// Controls whose captions change keep their place, so nothing beside them moves.
TEST_F(PanelTest, FitsALaptopScreenAndChangingCaptionsMoveNothing) {
    frmTolvane& p = panel();
    EXPECT_LE(p.fullSize().width(), 1366 - 16) << "room for the window frame";
    EXPECT_LE(p.fullSize().height(), 768 - 40 - 30) << "room for a task bar and the title bar";
    const QPoint sample = p.cmdSample_Portb->mapTo(&p, QPoint(0, 0));
    const QPoint sync = frame().cmdSync->mapTo(&p, QPoint(0, 0));
    click(p.ChkIpol);  // "Check to enable Interrupt Polling"
    frame().cmdStopData->hide();
    QApplication::processEvents();
    EXPECT_EQ(p.cmdSample_Portb->mapTo(&p, QPoint(0, 0)), sample);
    EXPECT_EQ(frame().cmdSync->mapTo(&p, QPoint(0, 0)), sync);
}

TEST_F(PanelTest, MenuBarOpensTheAboutWindow) {
    click(panel().menuBar, panel().menuBar->actionGeometry(panel().frmAbout).center());
    EXPECT_TRUE(rig.program.hasAbout());
}

}  // namespace
