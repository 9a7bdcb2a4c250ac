// tolvane-screenshots FOLDER: takes the pictures of the windows that the README shows and people look at,
// on the demo's simulated board and a fake clock, so a run of half a minute takes a moment.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <utility>

#include "demo/board_window.h"
#include "demo/fault_frame.h"
#include "demo/interrupt_frame.h"
#include "demo/light_frame.h"
#include "sensor/frmTolvane.h"
#include "sim/demo_board.h"
#include "tests/support/rig.h"
#include "view/history_window.h"

namespace {

const QString kEverydayPath = "/home/user/Documents/Data.txt";

// Runs the panel's collection until `stopAt` samples are stored, calling `atSample` as each one is.
void collectUntil(Rig& rig, int stopAt, const std::function<void(int)>& atSample = {}) {
    frmTolvane& panel = rig.program.panel();
    rig.collect([&] {
        const int stored = panel.acquisition().history.SampleIndex;
        if (atSample) atSample(stored);
        if (stored >= stopAt) panel.cmdStopData_Click();
    });
}

// The panel collecting the demo's light, with its reading logged: the README's picture.
QImage panelCollecting() {
    Rig rig;
    rig.bus.setTiming(sim::Timing::Realistic);
    rig.board().chip.setLight(sim::LightSource::shaped(sim::demoLight(), sim::kDemoLightSeed));
    rig.chooseTolvane();
    frmTolvane& panel = rig.program.panel();
    frmDataRecord& record = *panel.acquisition().record;
    QTemporaryDir logFolder;
    record.txtFilePath->setText(logFolder.filePath("Data.txt"));
    record.chkLogEveryReading->setChecked(true);
    panel.resize(panel.fullSize());
    QImage shot;
    collectUntil(rig, 321, [&](int stored) {
        // An everyday file name in the picture, not the temporary folder the log goes to.
        if (stored == 1) record.txtFilePath->setText(kEverydayPath);
        if (stored == 320 && shot.isNull()) shot = panel.grab().toImage();  // while the run goes on
    });
    return shot;
}

// The demo as it opens on a screen of the given size, a task bar along its bottom: the panel collecting,
// and the board window, after a held interrupt line and dropped answers, where the program placed it
// (over the panel where the screen has no room beside it).
QImage demoOnScreen(QSize screen, QImage* boardWindow = nullptr) {
    Rig rig(1, screen);
    BoardWindow window{rig.bus, rig.board(), rig.clock, {180, sim::LightSetting::Shape::Steps, 0, 0}};
    window.placeAtTheRightEdge();
    window.show();
    rig.program.setCompanion(&window);
    rig.chooseTolvane();
    frmTolvane& panel = rig.program.panel();
    panel.acquisition().record->txtFilePath->setText(kEverydayPath);
    collectUntil(rig, 90, [&](int stored) {
        if (stored == 40) window.interrupt->holdLowButton->setChecked(true);
    });
    window.faults->dropCountBox->setValue(2);
    window.faults->dropButton->click();
    window.refresh();
    QApplication::processEvents();

    QImage desktop(screen, QImage::Format_RGB32);
    desktop.fill(QColor(60, 60, 60));
    QPainter painter(&desktop);
    const QRect available = panel.screen()->availableGeometry();
    painter.fillRect(QRect(QPoint(0, available.bottom() + 1), screen), QColor(30, 30, 30));
    const QImage board = window.grab().toImage();
    painter.drawImage(panel.geometry().topLeft(), panel.grab().toImage());
    painter.drawImage(window.geometry().topLeft(), board);
    if (boardWindow) *boardWindow = board;
    return desktop;
}

// The history view over five minutes of the demo's light, as the panel logged them: the README's.
QImage viewOverARun() {
    Rig rig;
    rig.bus.setTiming(sim::Timing::Realistic);
    rig.board().chip.setLight(sim::LightSource::shaped(sim::demoLight(), sim::kDemoLightSeed));
    rig.chooseTolvane();
    frmDataRecord& record = *rig.program.panel().acquisition().record;
    QTemporaryDir logFolder;
    record.txtFilePath->setText(logFolder.filePath("Data.txt"));
    record.chkLogEveryReading->setChecked(true);
    const std::uint32_t start = rig.clock.milliseconds();
    rig.collect([&] {
        if (rig.clock.milliseconds() - start >= 300'000) rig.program.panel().cmdStopData_Click();
    });
    const QStringList logs = QDir(logFolder.path()).entryList({"*.csv"});
    HistoryWindow window(rig.dialogs, rig.clock);
    window.resize(1100, 640);
    window.show();
    window.open({logFolder.filePath(logs.value(0))});
    window.finishLoading();
    movePointer(window.plot, window.plot->rect().center());  // the readout and its mark
    return window.grab().toImage();
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tolvane-screenshots FOLDER\n");
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(folder.path())) {
        std::fprintf(stderr, "cannot make the folder %s\n", argv[1]);
        return 1;
    }
    QImage board;
    const std::pair<QString, QImage> pictures[] = {
        {"panel_collecting.png", panelCollecting()},
        {"demo_on_1920x1080.png", demoOnScreen({1920, 1080}, &board)},
        {"demo_board_window.png", board},
        {"demo_on_1600x1000.png", demoOnScreen({1600, 1000})},
        {"demo_on_1366x768.png", demoOnScreen({1366, 768})},
        {"view_run.png", viewOverARun()},
    };
    for (const auto& [name, picture] : pictures) {
        const QString path = folder.filePath(name);
        if (picture.isNull() || !picture.save(path)) {
            std::fprintf(stderr, "could not save %s\n", qPrintable(path));
            return 1;
        }
        std::printf("%s\n", qPrintable(path));
    }
    return 0;
}
