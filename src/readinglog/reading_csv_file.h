#pragma once

#include <QString>
#include <QStringList>
#include <limits>
#include <span>

#include "readinglog/reading_csv.h"

// What reading a readings CSV came to.
struct ReadingCsvRead {
    enum class Status { Done, Stopped, Failed };
    Status status = Status::Done;
    QString error;  // Failed: why, in words for the user
    qint64 rows = 0;
    // Lines after the header that are not readings, left out; the first one's number (1 the header).
    qint64 linesLeftOut = 0;
    qint64 firstLeftOut = 0;
    // The file ends inside a row (it is still being written, or was cut short): that row is left out.
    bool tornLastRow = false;
    // The file got shorter while it was read (it is being written again): the rows before are kept.
    bool shrank = false;
    // A log of several boards: their names in the order they first take a row (LoggedReading::board).
    QStringList boards;
};

// Where the readings go as the file is read, and who may stop the reading.
class ReadingCsvConsumer {
public:
    virtual ~ReadingCsvConsumer() = default;
    // The next readings, in file order; false stops the reading.
    virtual bool take(std::span<const LoggedReading> rows) = 0;
    // `done` of `total` bytes are read; false stops the reading.
    virtual bool progressed(qint64 done, qint64 total) = 0;
};

// Reads a readings CSV, of one board or of several, as it is now (a file still growing: as far as it had come
// when the reading began), in large blocks, handing on at most `mostRows` readings.
ReadingCsvRead readReadingCsv(const QString& path, ReadingCsvConsumer& consumer,
                              qint64 mostRows = std::numeric_limits<qint64>::max());
