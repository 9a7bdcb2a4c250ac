#include "shell/program.h"

#include <QScreen>
#include <QStyle>
#include <QWindow>
#include <algorithm>

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

namespace {

// What the window system adds around a window: as much as it has added already, and at least a title
// bar as the style draws one, since a window manager decorates a window only after we have placed it.
// Without a window manager the windows simply cover less than they were given.
WindowFrame expectedFrame(const QWidget& window) {
    const QRect outer = window.frameGeometry();
    const QRect inner = window.geometry();
    return {std::max(inner.top() - outer.top(), window.style()->pixelMetric(QStyle::PM_TitleBarHeight)),
            std::max({inner.left() - outer.left(), outer.right() - inner.right(),
                      outer.bottom() - inner.bottom()})};
}

void keepAbove(QWidget& window, QWidget& below) {
    // A window manager keeps a tool window above the window it belongs to; without one, the window
    // raised last stays on top, as nothing raises another on a click.
    window.setWindowFlag(Qt::Tool);
    window.winId();
    window.windowHandle()->setTransientParent(below.windowHandle());
    window.show();
    window.raise();
}

}  // namespace

void Program::openPanel() {
    frmTolvane& shown = panel();
    if (panelPlaced_) {
        shown.show();
        return;
    }
    // On the screen the user chose the device on; Qt alone would cap the panel at two thirds of it.
    const QRect available = startup().screen()->availableGeometry();
    const WindowFrame frame = expectedFrame(shown);
    const QRect geometry = panelGeometry(shown.fullSize(), available, frame);
    shown.resize(geometry.size());
    shown.move(geometry.topLeft());
    shown.show();
    if (companion_) placeCompanion(available, expectedFrame(shown));
    panelPlaced_ = true;
}

void Program::placeCompanion(QRect available, WindowFrame frame) {
    frmTolvane& shown = *panel_;
    const QPoint inside = shown.pos() + QPoint(frame.border, frame.titleBar);
    QRect runControls;
    Acquisition& wing = shown.acquisition();
    for (const QWidget* part :
         std::initializer_list<const QWidget*>{wing.chartFrame, wing.collection, wing.record})
        runControls |= QRect(part->mapTo(&shown, QPoint(0, 0)) + inside, part->size());
    const CompanionPlace place =
        companionPlace(QRect(shown.pos(), shown.size() + frame.around()), runControls,
                       companion_->minimumSizeHint(), companion_->sizeHint(), available, frame);
    companion_->resize(place.size);
    companion_->move(place.position);
    if (place.overPanel) keepAbove(*companion_, shown);
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
