#pragma once

#include <QAction>
#include <QByteArrayList>
#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>
#include <QPushButton>
#include <memory>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "readinglog/log_follower.h"
#include "view/history_plot.h"
#include "view/redraw_pacer.h"
#include "view/run_loader.h"

inline constexpr char kViewerTitle[] = "Tolvane Log Viewer";

// The history view: whole runs from logs of every reading, one line each, with the statistics of the
// span on screen and a readout under the pointer; the picture and the span on screen can be exported.
// It opens saved logs, and follows a log as the panel writes it (ReadingLogFollower): the panel tells
// it of each run and hands it each row as it is taken.
class HistoryWindow : public QMainWindow, public ReadingLogFollower {
    Q_OBJECT
public:
    HistoryWindow(Dialogs& dialogs, Clock& clock, QWidget* parent = nullptr);

    HistoryPlot* plot;
    QLabel* lblReadout;
    QLabel* lblStatistics;
    QLabel* lblLoad;  // what is loading, or what the last load came to
    QProgressBar* loadProgress;
    QPushButton* cmdCancelLoad;
    QAction* mnuOpen;
    QAction* mnuExportPicture;
    QAction* mnuExportSpan;
    QAction* mnuClose;

    // Loads the logs one after the other beside the window, each in its own colour.
    void open(const QStringList& paths);
    // Waits until the logs asked for are loaded (or have failed), and shows them.
    void finishLoading();

    void mnuOpen_Click();
    void mnuExportPicture_Click();
    void mnuExportSpan_Click();
    void cmdCancelLoad_Click();

    void followLog(const QString& path, qint64 rowsOnDisk) override;
    void lineAdded(const QByteArray& line) override;
    void logClosed() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void loadStarted(const QString& path);
    void loaded(const RunLoader::Loaded& run);
    // The live run takes over what was loaded of its log, then the rows that came meanwhile.
    void liveLoaded(const RunLoader::Loaded& run);
    void addLiveLine(const QByteArray& line);
    void showStatistics();
    void loadingEnded(const QString& text);
    void tell(const QString& text);

    Dialogs& dialogs_;
    RunLoader loader_;
    RedrawPacer pacer_;
    std::shared_ptr<RunReadings> live_;
    QString livePath_;
    int livePlace_ = -1;
    bool liveLoading_ = false;
    QByteArrayList liveWaiting_;
};
