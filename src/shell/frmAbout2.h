#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <array>
#include <functional>

// The About window: title, version, the disclaimer lines and the maker's logo. Never modal; OK,
// Enter, Escape and closing it all unload it through the function the program gives.
class frmAbout2 : public QDialog {
    Q_OBJECT
public:
    explicit frmAbout2(std::function<void()> unload);

    QLabel* picPellionLogo;
    QLabel* lblTitle;
    QLabel* lblVersion;
    QLabel* lblDescription;
    std::array<QLabel*, 2> lblDisclaimer{};
    std::array<QFrame*, 2> Line1{};
    QPushButton* cmdOK;

    void Form_Load();
    void cmdOK_Click();

    // Escape and the close button end here rather than merely hiding the window.
    void reject() override;

private:
    std::function<void()> unload_;
};
