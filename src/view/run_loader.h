#pragma once

#include <QObject>
#include <QString>
#include <deque>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

#include "readinglog/reading_csv_file.h"
#include "view/run_readings.h"

// Loads logs into memory one after the other on a thread beside the window, so that the window stays
// live while a large one loads: it says how far it is, and stops when asked.
class RunLoader : public QObject {
    Q_OBJECT
public:
    struct Loaded {
        QString path;
        // One run per board: a log of one board holds one, a log of several one for each
        // (read.boards names them).
        std::vector<std::shared_ptr<RunReadings>> readings;
        ReadingCsvRead read;
        bool full = false;  // rows lay beyond what the view holds (RunReadings::add): left out
        bool live = false;
    };

    explicit RunLoader(QObject* parent = nullptr);
    ~RunLoader() override;

    // Loads `path` (its first `mostRows` readings) after those asked for before. `live`: the log of a
    // run being taken, whose newer rows come to the caller meanwhile.
    void load(const QString& path, bool live = false, qint64 mostRows = std::numeric_limits<qint64>::max());
    // Stops the load under way and drops those waiting; none of them is reported.
    void cancel();
    bool busy() const { return job_ != nullptr; }
    // Waits until every load asked for has ended and been reported.
    void finish();

signals:
    void started(const QString& path);
    void progressed(int percent);
    void loaded(const RunLoader::Loaded& run);

private:
    struct Job;
    void startNext();
    void ended(const std::shared_ptr<Job>& job);
    static void run(std::stop_token stop, RunLoader* loader, std::shared_ptr<Job> job);

    std::deque<std::shared_ptr<Job>> waiting_;
    std::shared_ptr<Job> job_;
    std::jthread thread_;
};
