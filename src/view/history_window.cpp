#include "view/history_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMenuBar>
#include <QSaveFile>
#include <QStatusBar>
#include <QVBoxLayout>
#include <utility>

#include "readinglog/reading_row.h"
#include "view/reading_text.h"

HistoryWindow::HistoryWindow(Dialogs& dialogs, Clock& clock, QWidget* parent)
    : QMainWindow(parent), dialogs_(dialogs), pacer_(clock, [this] {
          if (!isVisible()) return;
          plot->readingsAdded();
          // The window painted now, plot and statistics at once, so that the pacer counts it in the cost.
          QEvent paintNow(QEvent::UpdateRequest);
          QCoreApplication::sendEvent(this, &paintNow);
      }) {
    setWindowTitle(kViewerTitle);
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    plot = new HistoryPlot(central);
    plot->setMinimumSize(640, 360);
    lblReadout = new QLabel(central);
    lblStatistics = new QLabel(central);
    for (QLabel* label : {lblReadout, lblStatistics}) {
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        label->setWordWrap(true);  // a longer line wraps instead of widening the window
    }
    plot->setAccessibleName("Readings against time");
    lblReadout->setAccessibleName("The reading nearest the pointer");
    lblStatistics->setAccessibleName("Statistics of the span on screen");
    layout->addWidget(plot, 1);
    layout->addWidget(lblReadout);
    layout->addWidget(lblStatistics);
    setCentralWidget(central);

    lblLoad = new QLabel(this);
    loadProgress = new QProgressBar(this);
    cmdCancelLoad = new QPushButton("Cancel", this);
    statusBar()->addWidget(lblLoad, 1);
    statusBar()->addPermanentWidget(loadProgress);
    statusBar()->addPermanentWidget(cmdCancelLoad);
    loadProgress->hide();
    cmdCancelLoad->hide();
    buildMenu();

    connect(cmdCancelLoad, &QPushButton::clicked, this, &HistoryWindow::cmdCancelLoad_Click);
    connect(&loader_, &RunLoader::started, this, &HistoryWindow::loadStarted);
    connect(&loader_, &RunLoader::progressed, loadProgress, &QProgressBar::setValue);
    connect(&loader_, &RunLoader::loaded, this, &HistoryWindow::loaded);
    connect(plot, &HistoryPlot::spanChanged, this, &HistoryWindow::showStatistics);
    connect(plot, &HistoryPlot::readoutChanged, lblReadout, &QLabel::setText);
}

void HistoryWindow::buildMenu() {
    QMenu* file = menuBar()->addMenu("&File");
    mnuOpen = file->addAction("&Open...", QKeySequence::Open, this, &HistoryWindow::mnuOpen_Click);
    mnuExportPicture = file->addAction("Export &Picture...", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E),
                                       this, &HistoryWindow::mnuExportPicture_Click);
    mnuExportSpan = file->addAction("&Export Span on Screen as CSV...", QKeySequence(Qt::CTRL | Qt::Key_E),
                                    this, &HistoryWindow::mnuExportSpan_Click);
    for (QAction* export_ : {mnuExportPicture, mnuExportSpan})
        export_->setEnabled(false);  // nothing to export yet
    file->addSeparator();
    mnuClose = file->addAction("&Close", QKeySequence::Close, this, &QWidget::close);
}

void HistoryWindow::open(const QStringList& paths) {
    for (const QString& path : paths) loader_.load(path);
}

void HistoryWindow::finishLoading() {
    loader_.finish();
}

void HistoryWindow::mnuOpen_Click() {
    open(dialogs_.chooseFilesToOpen(
        {"Open Logs of Readings", "", "Logs of Readings (*.csv)|*.csv|All Files (*)|*", "*.csv"}));
}

void HistoryWindow::mnuExportPicture_Click() {
    const QString chosen = dialogs_.chooseFile(
        {"Export Picture", "", "PNG Image (*.png)|*.png|PDF Document (*.pdf)|*.pdf", "*.png"});
    if (chosen.isEmpty()) return;
    const QString suffix = QFileInfo(chosen).suffix().toLower();
    const QString path = suffix == "png" || suffix == "pdf" ? chosen : chosen + ".png";
    if (!(suffix == "pdf" ? plot->savePdf(path) : plot->savePng(path)))
        tell(QString("Cannot write the picture to %1.").arg(path));
}

void HistoryWindow::mnuExportSpan_Click() {
    const QString path =
        dialogs_.chooseFile({"Export Span on Screen as CSV", "", "Logs of Readings (*.csv)|*.csv", "*.csv"});
    if (path.isEmpty()) return;
    // Written whole or not at all: QSaveFile replaces the file only when every row is in.
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(readingCsvHeader());
        // The runs one after another, as runs appended to one log: the view reads such a file back whole.
        for (int place = 0; place < static_cast<int>(plot->runs().size()); ++place) {
            const auto [first, last] = plot->readingsOnScreen(place);
            const RunReadings& readings = *plot->runs()[static_cast<std::size_t>(place)].readings;
            for (qint64 i = first; i < last; ++i) file.write(readingCsvLine(readings.reading(i)));
        }
        if (file.commit()) return;
    }
    tell(QString("Cannot write %1: %2.").arg(path, file.errorString()));
}

void HistoryWindow::cmdCancelLoad_Click() {
    loader_.cancel();
    if (liveLoading_) {
        // The run is followed from its rows that come from now on.
        liveLoading_ = false;
        for (const QByteArray& line : std::exchange(liveWaiting_, {})) addLiveLine(line);
        plot->showWholeRuns();
    }
    loadingEnded("Loading cancelled.");
}

void HistoryWindow::loadStarted(const QString& path) {
    lblLoad->setText(QString("Loading %1...").arg(QFileInfo(path).fileName()));
    loadProgress->setValue(0);
    loadProgress->show();
    cmdCancelLoad->show();
}

void HistoryWindow::loaded(const RunLoader::Loaded& run) {
    const QString name = QFileInfo(run.path).fileName();
    qint64 readings = 0;
    for (const auto& board : run.readings) readings += board->size();
    loadingEnded(loadText(name, run.read, readings, run.full));
    if (run.live) return liveLoaded(run);
    if (run.read.status == ReadingCsvRead::Status::Failed) return tell(run.read.error);
    if (readings == 0) return tell(QString("%1 holds no readings.").arg(name));
    // A log of several boards: a line for each board, named after the file and the board.
    for (std::size_t board = 0; board < run.readings.size(); ++board)
        plot->addRun(run.read.boards.isEmpty() ? name : QString("%1 [%2]").arg(name, run.read.boards[board]),
                     run.readings[board]);
}

void HistoryWindow::liveLoaded(const RunLoader::Loaded& run) {
    if (!liveLoading_ || run.path != livePath_) return;  // a run that another has replaced meanwhile
    liveLoading_ = false;
    live_ = run.readings.front();  // the panel's log is of one board
    for (const QByteArray& line : std::exchange(liveWaiting_, {})) addLiveLine(line);
    plot->replaceRun(livePlace_, QFileInfo(livePath_).fileName(), live_);
}

void HistoryWindow::loadingEnded(const QString& text) {
    lblLoad->setText(text);
    loadProgress->hide();
    cmdCancelLoad->hide();
}

void HistoryWindow::followLog(const QString& path, qint64 rowsOnDisk) {
    live_ = std::make_shared<RunReadings>();
    livePath_ = path;
    liveWaiting_.clear();
    liveLoading_ = rowsOnDisk > 0;
    const QString name = QFileInfo(path).fileName();
    if (livePlace_ < 0) {
        livePlace_ = plot->addRun(name, live_);
    } else {
        plot->replaceRun(livePlace_, name, live_);
    }
    if (liveLoading_) loader_.load(path, true, rowsOnDisk);
}

void HistoryWindow::lineAdded(const QByteArray& line) {
    if (!live_) return;
    if (liveLoading_) {
        liveWaiting_.append(line);
        return;
    }
    addLiveLine(line);
    pacer_.changed();
}

void HistoryWindow::logClosed() {
    pacer_.flush();
}

void HistoryWindow::addLiveLine(const QByteArray& line) {
    LoggedReading reading;
    if (parseReadingCsvLine(std::string_view(line.constData(), line.size()).substr(0, line.indexOf('\r')),
                            reading))
        live_->add(reading);
}

void HistoryWindow::showStatistics() {
    QStringList lines;
    for (int place = 0; place < static_cast<int>(plot->runs().size()); ++place) {
        const HistoryPlot::Run& run = plot->runs()[static_cast<std::size_t>(place)];
        const auto [first, last] = plot->readingsOnScreen(place);
        lines << statisticsText(run.name, run.readings->statistics(first, last), run.readings->anyLux(),
                                run.readings->allLux());
    }
    lblStatistics->setText(lines.join('\n'));
    const bool anything = !plot->runs().empty();
    mnuExportPicture->setEnabled(anything);
    mnuExportSpan->setEnabled(anything);
}

void HistoryWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    plot->readingsAdded();  // what came while the window was hidden
}

void HistoryWindow::closeEvent(QCloseEvent* event) {
    if (loader_.busy()) cmdCancelLoad_Click();
    QMainWindow::closeEvent(event);
}

void HistoryWindow::tell(const QString& text) {
    dialogs_.messageBox({text, DialogButtons::Ok, kViewerTitle});
}
