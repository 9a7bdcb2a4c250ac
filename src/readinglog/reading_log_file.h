#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QFile>
#include <QString>
#include <functional>

#include "readinglog/log_follower.h"
#include "readinglog/reading_row.h"

// A readings CSV written as a run goes: always a new file, never one that exists; rows wait in memory
// until the owner flushes them (at least once a second, so a crash loses at most that), and the first
// failure stops the file for good, keeping the whole rows written and saying why.
class ReadingLogFile {
public:
    // One write to the open file: how many bytes it took, 0 or -1 when it took none. The system's
    // write unless a test puts a disk that fills up in its place.
    using Write = std::function<qint64(QFile& file, const char* data, qint64 size)>;

    explicit ReadingLogFile(Write write = {});

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
    // finds every row so far on the disk, and each row added after it is handed on as it comes.
    void setFollower(ReadingLogFollower* follower);

    bool isOpen() const { return file_.isOpen(); }
    bool failed() const { return !error_.isEmpty(); }
    QString error() const { return error_; }
    QString path() const { return file_.fileName(); }
    QString fileName() const;
    // The rows taken: all on disk but those since the last flush.
    qint64 rows() const { return rows_ + rowsWaiting_; }

private:
    // Writes until all is out or a write takes nothing; returns how much went out.
    qint64 writeOut(const QByteArray& bytes);
    // Why the last write stopped short, also when the system gave no reason.
    QString writeError() const;
    void fail(const QString& why);

    Write write_;
    QFile file_;
    QByteArray waiting_;
    qint64 rowsWaiting_ = 0;
    qint64 rows_ = 0;
    qint64 length_ = 0;  // the header and the whole rows on disk: where a failed flush cuts back to
    QString error_;
    ReadingLogFollower* follower_ = nullptr;
};
