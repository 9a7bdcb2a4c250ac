#pragma once

#include <QDateTime>
#include <cstdint>

#include "acquisition/record_frame.h"
#include "platform/services.h"
#include "readinglog/reading_log_file.h"

// "Log every reading": while the box is ticked, each run writes every reading it stores, past the
// history's last element as well, to a CSV file of its own beside the record file; a restart of the
// program's making goes on in the same file. The box takes effect at once: ticked during a run, a new
// file from the next reading; unticked, the file closes. The rows reach the disk at least once a second
// and when the file closes; a failure stops the log, never the run, and the line beside the box says why.
class RunLog {
public:
    RunLog(frmDataRecord& record, Services& services);

    // A run the user asked for starts now: opens its file when the box is ticked. A log that cannot be
    // created says so in a box naming it, leaves no file, and the run goes on without a log.
    void start();
    // The run stored reading number `sample` (0 the first of the run) with the registers it was taken
    // under.
    void add(qint64 sample, int count, std::uint8_t r0, std::uint8_t r1);
    // The run has ended, or the program does: every row to the disk, the file closed.
    void finish();
    // `follower` (or nobody) follows the log from now on: the run being logged, or else the last one.
    void setFollower(ReadingLogFollower* follower) { file_.setFollower(follower); }

private:
    // The box was ticked or unticked.
    void follow(bool ticked);
    void open();
    void close();
    // The box saying that the log at `path` (none: no folder named) did not start, and why.
    void cannotStart(const QString& path, const QString& why);
    void flushIfDue(std::uint32_t now);
    void showProgress();

    frmDataRecord& record_;
    Services& services_;
    ReadingLogFile file_;
    // From a run's start to its end: the box takes effect at once (not while the run's chip is set up,
    // before its start, nor while it ends).
    bool following_ = false;
    // The local date and time of the run's start, held as a clock face (in UTC terms) that the rows'
    // times count on from: a time-zone lookup for every row would cost more than the rest of the row.
    // A change to or from summer time during a run is not followed.
    QDateTime startFace_;
    std::uint32_t startMs_ = 0;
    std::uint32_t flushedMs_ = 0;
};
