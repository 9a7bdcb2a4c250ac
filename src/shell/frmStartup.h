#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>

class Program;

// The start-up selector: the user picks the device, which connects the board and opens the panel.
class frmStartup : public QWidget {
    Q_OBJECT
public:
    explicit frmStartup(Program& program);

    QComboBox* cboDeviceSelect;
    QPushButton* cmdAbout;
    QLabel* Picture1;

    void Form_Load();
    void Form_Unload();
    void cboDeviceSelect_Click();
    void cmdAbout_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Program& program_;
};
