#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// Someone who watches a log of every reading as it is written, reading by reading: the history view
// following the panel's run. Told on the collection loop's own turn, so each call must return at once.
class ReadingLogFollower {
public:
    virtual ~ReadingLogFollower() = default;

    // A log is being written at `path` (a new run: what was followed before is replaced). Its first
    // `rowsOnDisk` readings are on the disk already; the rest come as lines.
    virtual void followLog(const QString& path, qint64 rowsOnDisk) = 0;
    // The log's next row, its CR LF included, as the file will hold it.
    virtual void lineAdded(const QByteArray& line) = 0;
    // The log is closed (the run has ended, or the log has failed): no more rows come.
    virtual void logClosed() = 0;
};
