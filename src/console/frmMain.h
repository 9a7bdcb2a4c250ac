#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <cstdint>
#include <initializer_list>

#include "boardlink/board_link.h"
#include "platform/services.h"

// The hidden bridge console: loaded by the device choice and never shown. Its controls mirror the
// current board's settings and are the parameters and results of the register transfers the sensor
// panel runs through it.
class frmMain : public QWidget, public BoardLinkHost {
    Q_OBJECT
public:
    frmMain(BoardLink& link, Services& services);

    // Board instances and LEDs.
    QComboBox* cboEVBinstance;
    std::array<QCheckBox*, 2> chkLED{};  // "LED Green", "LED Red"

    // I2C and SPI settings as read back.
    QLabel* lblI2Cfrequency;
    QComboBox* cboSMBusFrequency;
    QCheckBox* chkRepeatedStart;
    QCheckBox* chkStoppedWrite;
    QCheckBox* chkExtendHold;
    QLabel* lblSPIclock;
    QComboBox* cboSPIclock;
    QCheckBox* chkSPIckpol;
    QCheckBox* chkSPIckpha;
    QCheckBox* chkSPIss;

    // Slave address.
    QLineEdit* txtI2Caddress;
    std::array<QCheckBox*, 7> chkADDRbit{};

    // Register block transfers.
    QCheckBox* chkRandom;
    QLineEdit* txtStartRegRD;
    QLineEdit* txtStartRegWr;
    QLineEdit* txtNumToRead;
    QLineEdit* txtNumToWrite;
    QPushButton* cmdSimpleI2cRd;
    QPushButton* cmdSimpleI2cWr;
    static constexpr int kGridRows = 32;  // registers 0x00..0x1F
    std::array<QLabel*, kGridRows> lblRegAddr{};
    std::array<QLineEdit*, kGridRows> txtWriteVal{};
    std::array<QLineEdit*, kGridRows> txtReadVal{};

    // General-purpose ports.
    std::array<QCheckBox*, 8> chkOpenCollectorP1{};
    std::array<QCheckBox*, 4> chkOpenCollectorP2{};
    QCheckBox* chkWeakPullUpDisable;
    std::array<QCheckBox*, 8> chkGPvalueP1{};
    std::array<QCheckBox*, 4> chkGPvalueP2{};
    QCheckBox* chkWeakPullUpEnableOnRead;
    std::array<QLabel*, 2> lblGPReadVal{};

    // Shared values of the console.
    bool UpdatingControls = false;
    bool AddressSetByProgram = false;
    std::uint8_t GPvalueP1 = 0;

    // Life cycle.
    void Form_Load();
    void Form_Unload();

    // Board instances. A search's end refills the instance list (BoardLinkHost).
    void boardsFound() override { cboEVB_init(); }
    void unloadConsole() override { Form_Unload(); }
    void cboEVB_init();
    void cboEVBinstance_Click();

    // LEDs.
    void chkLED_Click(int Index);
    void getLED();

    // Bus settings.
    void cboSMBusFrequency_init();
    void cboSMBusFrequency_Click();
    void cboSPIclock_init();
    void cboSPIclock_Click();
    void getI2Coptions();
    void getSPIoptions();

    // Slave address.
    void txtI2Caddress_Change();
    void chkADDRbit_Click(int Index);

    // Public transfer operations.
    void cmdSimpleI2cRd_Click();
    void cmdSimpleI2cWr_Click();

    // Ports.
    void getGPconfig();
    void getGPvalue();

protected:
    // Closing the window unloads it, as everywhere in the program.
    void closeEvent(QCloseEvent* event) override;

private:
    // Boxes, each built by the file that holds its handlers.
    QWidget* buildBoardBox();
    QWidget* buildBusBox();
    QWidget* buildAddressBox();
    QWidget* buildTransferBox();
    QWidget* buildPortBox();
    void connectHandlers();

    // Sends an answered request; true when its answer is in the report buffer to be decoded.
    bool queryBoard(std::initializer_list<std::uint8_t> bytesFrom1);

    BoardLink& link_;
    Services& services_;
};
