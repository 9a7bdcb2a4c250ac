#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "readinglog/log_follower.h"
#include "readinglog/reading_row.h"
#include "readinglog/whole_line_file.h"

// A readings CSV written as a run goes: always a new file, never one that exists; rows wait in memory
// until the owner flushes them (at least once a second, so a crash loses at most that), and the first
// failure stops the file for good, keeping the whole rows written and saying why.
class ReadingLogFile {
public:
    // `write` stands in for the system's write in a test of a disk that fills up.
    explicit ReadingLogFile(WholeLineFile::Write write = {}) : file_({}, std::move(write)) {}

    // Creates the file in `folder`, named after `baseName` and the run's start ("Data-20261207-171500.csv",
    // then "-2", "-3", ... when a name is taken), with the header line. False when it cannot: error()
    // says why, path() names the file, and nothing is left behind.
    bool open(const QString& folder, const QString& baseName, const QDateTime& start);

    void add(const ReadingRow& row);
    // Writes the rows that wait; false once the log has failed.
    bool flush();
    // Flushes and closes; what was written stays.
    void close();

    // From now on `follower` (or nobody) follows the log: an open one is flushed, so the follower
    // finds every row so far on the disk, and each row added after it is handed on as it comes; a
    // closed one that keeps rows is followed to its end at once.
    void setFollower(ReadingLogFollower* follower);

    bool isOpen() const { return file_.isOpen(); }
    bool failed() const { return !error_.isEmpty(); }
    QString error() const { return error_; }
    QString path() const { return file_.fileName(); }
    QString fileName() const;
    // The rows taken: all on disk but those since the last flush.
    qint64 rows() const { return rows_ + rowsWaiting_; }

private:
    void fail(const QString& why);

    WholeLineFile file_;
    QByteArray waiting_;
    qint64 rowsWaiting_ = 0;
    qint64 rows_ = 0;
    QString error_;
    ReadingLogFollower* follower_ = nullptr;
};
