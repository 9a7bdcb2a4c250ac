#include "shell/frmAbout2.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "common/program_identity.h"
#include "shell/logo.h"

namespace {
QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}
}  // namespace

frmAbout2::frmAbout2(std::function<void()> unload) : unload_(std::move(unload)) {
    picPellionLogo = new QLabel(this);
    picPellionLogo->setPixmap(drawMakerLogo(QSize(180, 60)));
    lblTitle = new QLabel("Application Title", this);
    QFont titleFont = lblTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.5);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel("Version", this);
    lblDescription = new QLabel("App Description", this);
    lblDisclaimer[0] = new QLabel("ACCURACY OF INFORMATION", this);
    lblDisclaimer[1] = new QLabel("Please review license.txt file in the installation directory.", this);
    Line1[0] = separator(this);
    Line1[1] = separator(this);
    cmdOK = new QPushButton("OK", this);
    cmdOK->setDefault(true);

    auto* heading = new QGridLayout;
    heading->addWidget(picPellionLogo, 0, 0, 3, 1);
    heading->addWidget(lblTitle, 0, 1);
    heading->addWidget(lblVersion, 1, 1);
    heading->addWidget(lblDescription, 2, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(Line1[0]);
    layout->addWidget(lblDisclaimer[0]);
    layout->addWidget(lblDisclaimer[1]);
    layout->addWidget(Line1[1]);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout2::cmdOK_Click);
    Form_Load();
}

void frmAbout2::Form_Load() {
    setWindowTitle(QStringLiteral("About ") + kProgramTitle);
    lblTitle->setText(kProgramTitle);
    lblVersion->setText(QString("Version %1.%2.%3")
                            .arg(TOLVANE_VERSION_MAJOR)
                            .arg(TOLVANE_VERSION_MINOR)
                            .arg(TOLVANE_VERSION_PATCH));
    lblDescription->clear();  // the program carries no description text
}

void frmAbout2::cmdOK_Click() {
    unload_();
}

void frmAbout2::reject() {
    cmdOK_Click();
}
