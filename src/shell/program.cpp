#include "shell/program.h"

#include <QScreen>
#include <QStyle>

#include "console/frmMain.h"
#include "sensor/frmTolvane.h"
#include "shell/frmAbout2.h"
#include "shell/frmStartup.h"
#include "shell/window_placement.h"

Program::Program(Services& services, HidTransport& transport)
    : services(services), link(transport, services) {
    // Every way out passes here, whichever window or box it starts from: the last run's readings are
    // offered before anything is closed.
    services.exit.beforeEnd = [this] {
        if (panel_) {
            panel_->acquisition().log.finish();
            panel_->acquisition().record->offerUnsavedReadings();
        }
        link.CloseBoards();
    };
}

Program::~Program() {
    services.exit.beforeEnd = nullptr;
}

void Program::start() {
    startup().show();
}

frmStartup& Program::startup() {
    if (!startup_) startup_ = std::make_unique<frmStartup>(*this);
    return *startup_;
}

frmMain& Program::console() {
    if (!console_) {
        console_ = std::make_unique<frmMain>(link, services);
        link.setHost(console_.get());
        console_->Form_Load();
    }
    return *console_;
}

frmTolvane& Program::panel() {
    if (!panel_) {
        panel_ = std::make_unique<frmTolvane>(*this, link, services);
        panel_->Form_Load();
    }
    return *panel_;
}

void Program::openPanel() {
    frmTolvane& shown = panel();
    if (panelPlaced_) {
        shown.show();
        return;
    }
    // On the screen the user chose the device on; Qt alone would cap the panel at two thirds of it.
    const QRect available = startup().screen()->availableGeometry();
    const QRect geometry =
        panelGeometry(shown.fullSize(), available, shown.style()->pixelMetric(QStyle::PM_TitleBarHeight));
    shown.resize(geometry.size());
    shown.move(geometry.topLeft());
    shown.show();
    if (companion_)
        companion_->move(
            companionPosition(shown.frameGeometry(), companion_->frameGeometry().size(), available));
    panelPlaced_ = true;
}

void Program::showAbout() {
    if (!about_) about_ = std::make_unique<frmAbout2>([this] { unloadAbout(); });
    about_->show();
    about_->raise();
}

void Program::unloadAbout() {
    // OK unloads the window from inside its own click handler, so let Qt delete it afterwards.
    if (!about_) return;
    about_->hide();
    about_.release()->deleteLater();
}

void Program::unloadAboutAndStartup() {
    unloadAbout();
    startup().Form_Unload();
}
