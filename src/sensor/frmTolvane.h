#pragma once

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>

#include "acquisition/acquisition.h"
#include "acquisition/collection_host.h"
#include "boardlink/board_link.h"
#include "common/shape.h"
#include "platform/services.h"
#include "sensor/option_button.h"
#include "sensor/panel_host.h"

class frmMain;

// The sensor panel: the chip's register model, its operating options, register read-back and writes,
// and the interrupt thresholds and monitoring. Every chip access goes through the console's transfer
// fields and operations. Collection, chart and record file are its acquisition wing, which reaches the
// panel through CollectionHost.
class frmTolvane : public QWidget, private CollectionHost {
    Q_OBJECT
public:
    // The panel only reads the link's status values; it never talks to the board itself.
    frmTolvane(PanelHost& host, const BoardLink& link, Services& services);
    ~frmTolvane() override;

    // Menu.
    QMenuBar* menuBar;
    QAction* mnuScript;  // "Script Execution"
    QAction* frmAbout;   // "About"

    // Frames.
    QGroupBox* Frame2;          // "Device Registers"
    QGroupBox* Frame1;          // "Command Reg - b000"
    QGroupBox* FrmDevice;       // "Device Selection"
    QGroupBox* frmMode;         // "Device Mode Control"
    QGroupBox* frmMeasure;      // "Measurement"
    QGroupBox* frItime;         // "AD Resolution"
    QGroupBox* frGain;          // "Range"
    QGroupBox* frmadccontrol;   // "Control Reg - b001"
    QGroupBox* frControl;       // "Interrupt Control"
    QGroupBox* frmTimeBase;     // "Sampling Time Base Control"
    QGroupBox* frmGraphSelect;  // hidden

    // Register block.
    std::array<QLineEdit*, 4> txtRegHex{};
    std::array<QLineEdit*, 8> txtRegRd{};
    // 0..3 writes of R0..R3, 4..7 read-back of R0..R3, 8..11 reads of R4..R7, 12 the 0x80 command,
    // 13 the 0x40 command.
    std::array<Shape*, 14> ShpInd{};
    std::array<QLabel*, 8> Label22{};
    std::array<QLabel*, 2> Label5{};
    QPushButton* cmdSetCommand;
    QPushButton* cmdSetControl;
    QPushButton* cmdSetIntHigh;
    QPushButton* cmdSetIntLow;
    QPushButton* cmdRead_All;
    QPushButton* cmdRead_Measurements;

    // Operating options. Only ChkCommand(3), OptMode(0) and (2) and OptTimeBase(0) are shown.
    std::array<QCheckBox*, 4> ChkCommand{};
    QPushButton* cbReset;
    std::array<OptionButton*, 3> OptMeasure{};
    std::array<OptionButton*, 4> OptITime{};
    std::array<OptionButton*, 4> OptGain{};
    std::array<OptionButton*, 4> OpInt{};
    std::array<OptionButton*, 3> OptMode{};
    std::array<OptionButton*, 2> OptTimeBase{};
    QListWidget* LstMode2;
    QLabel* LblCommTest;
    QCheckBox* ChkIpol;

    // Interrupts.
    std::array<QLabel*, 2> lblUH{};
    QLineEdit* txtIUpperLimit;
    QLineEdit* txtILowerLimit;
    QPushButton* cmdClearInt;
    QPushButton* cmdClrInt;
    QPushButton* cmdSample_Portb;
    QLabel* Label24;  // "Interrupt Monitor"
    QLabel* Label23;
    QLabel* Label21;
    Shape* ShpINt;
    Shape* ShpINTexternal;
    Shape* ShpISample;

    // Device.
    QListWidget* LstDeviceSel;
    QLabel* Label10;
    QLabel* Label15;
    QLabel* Label20;
    QLineEdit* txtI2CAddr;
    QLineEdit* txtI2cXmitAdr;
    Shape* ShpAttach;
    Shape* ShpHandleStatus;

    // Collection, strip chart and record file: their controls are the frames' members.
    Acquisition& acquisition() { return *acquisition_; }

    // Where the panel's frames scroll when the window is smaller than they are.
    QScrollArea* scroller() const { return scroller_; }
    // The size at which nothing scrolls.
    QSize fullSize() const;
    QSize sizeHint() const override;

    // Register model. Whether a run collects, and what waits for it, is the collection loop's.
    std::array<std::uint8_t, 4> RegShadow{0x80, 0x00, 0xFF, 0x00};
    std::int16_t ReadCount = 0;

    // Load and window.
    void Form_Load();
    void LstMode2_MouseUp();
    void LstDeviceSel_MouseUp() {}
    void mnuScript_Click() {}
    void frmAbout_Click();

    // Operating options.
    void ChkCommand_Click(int Index);
    void cbReset_Click();
    void OptMeasure_Click(int Index);
    void OptITime_Click(int Index);
    void OptGain_Click(int Index);
    void OpInt_Click(int Index);
    void OptTimeBase_Click(int Index);
    void OptMode_Click(int Index);
    void ChkIpol_Click();

    // Register read-back and writes.
    void Read_Registers();
    void cmdRead_All_Click();
    void cmdRead_Measurements_Click();
    void cmdSetCommand_Click();
    void cmdSetControl_Click();
    void cmdSetIntHigh_Click();
    void cmdSetIntLow_Click();
    void txtRegHex_KeyPress(int Index, int KeyAscii);

    // Interrupts.
    void txtIUpperLimit_KeyPress(int KeyAscii);
    void txtILowerLimit_KeyPress(int KeyAscii);
    void cmdClearInt_Click();
    void cmdClrInt_Click();
    void cmdSample_Portb_Click();
    void Sample_PortB();

    // Collection.
    void cmdCollectData_Click();
    void cmdStopData_Click();
    void cmdAbort_Click();
    void Command4_Click();
    void cmdSync_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // Frames, each built by the file that holds its handlers; buildControls sets them side by side.
    void buildControls();
    QWidget* buildDeviceFrame();
    QWidget* buildModeFrame();
    QWidget* buildCommandFrame();
    QWidget* buildControlFrame();
    QWidget* buildTimeBaseFrame();
    QWidget* buildRegisterFrame();
    QWidget* buildInterruptFrame();
    void connectHandlers();
    void nameForScreenReaders();

    // Every touch of the hidden console: the two access patterns, the port sample and the LEDs.
    frmMain& console() { return host_.console(); }
    void writeRegister(const QString& startRegister, const QString& value);
    void readRegisters(const QString& startRegister);
    void copyReadBack(int first, int last);
    // Keeps only the INT pin's bit of the last port sample; true while the (active-low) line is high.
    bool keepIntPinBit();
    void toggleBoardLeds();

    void markMismatch(int n);
    // The ADC count R5:R4 as the read-back boxes show it.
    int adcCountShown() const;

    CollectionLoop& loop() { return acquisition_->loop; }
    bool collecting() const { return acquisition_->loop.collecting(); }
    // While a collection runs (or is being stopped) the loop owns the chip: the action only waits in
    // its deferred set, and the loop performs it between samples.
    bool collectionOwnsChip() const { return acquisition_->loop.ownsChip(); }
    void nowOrDefer(DeferredAction deferred, void (frmTolvane::*action)());
    void showAndWrite(int n);

    // The write family: a box that is not one byte is refused with a message naming the register;
    // otherwise the box is written, kept in RegShadow, its indicator flipped and R0..R3 read back.
    // Either way a deferred write of the register is done with.
    bool holdsOneByte(int n) const;
    bool acceptWriteBox(int n);
    void writeFromBox(int n, bool readBackFirst);

    // Enter in a threshold box: range message and reset text when refused, else the write box
    // and the write (or its deferral).
    QLineEdit* thresholdBox(int n) const { return n == 3 ? txtILowerLimit : txtIUpperLimit; }
    void thresholdEntered(int n);

    void showCommTestResult();
    void deselectTestComm();

    // The INT pin as the external-pin sample shows it; true while the line is high.
    bool sampleIntPin();
    // The collection loop's poll: the pin, and R1's flag when the pin is low.
    void pollInterruptLine();

    // CollectionHost: what the collection wing asks of the panel.
    void bringChipInLine() override;
    bool pollingInterrupt() const override;
    void setPollingCaption(const QString& caption) override;
    void pollInterrupt() override { pollInterruptLine(); }
    int readAdcCount() override;
    void flipAdcIndicators() override;
    bool linkLost() const override;
    void perform(DeferredAction action) override;
    QString commandRegisterText() const override;
    QString controlRegisterText() const override;
    std::uint8_t commandRegister() const override { return RegShadow[0]; }
    std::uint8_t controlRegister() const override { return RegShadow[1]; }

    PanelHost& host_;
    const BoardLink& link_;
    Services& services_;
    std::unique_ptr<Acquisition> acquisition_;
    QScrollArea* scroller_ = nullptr;
    QButtonGroup* measureGroup_;
    QButtonGroup* itimeGroup_;
    QButtonGroup* gainGroup_;
    QButtonGroup* intGroup_;
    QButtonGroup* modeGroup_;
    QButtonGroup* timeBaseGroup_;
};
