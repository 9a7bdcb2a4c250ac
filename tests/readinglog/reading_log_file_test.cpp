// The log of every reading on a disk that fills up: whatever each write takes, the file ends on its
// last whole row and the rows counted are the file's.
#include "readinglog/reading_log_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <algorithm>

namespace {

TEST(ReadingLogFile, AFailedWriteKeepsTheWholeRowsAndCountsOnlyThem) {
    const QDateTime start(QDate(2026, 12, 7), QTime(9, 30, 5));
    QList<QByteArray> lines;  // two flushes of three rows each, all as long as one another
    for (int seq = 0; seq < 6; ++seq)
        lines += readingCsvLine({start.addMSecs(100 * seq), 100 + seq, seq, 6554});
    const qint64 header = readingCsvHeader().size(), row = lines[0].size();
    const struct {
        const char* what;
        qint64 room;      // the bytes the disk takes
        qint64 piece;     // the most one write takes
        qint64 whenFull;  // what a write returns once the disk is full
        int rowsKept;
    } cases[] = {
        {"everything, a few bytes at a time", 1 << 20, 5, -1, 6},
        {"the header alone", header, 1 << 20, 0, 0},
        {"nothing of the second flush", header + 3 * row, 1 << 20, 0, 3},
        {"half a row, in short writes", header + 4 * row + row / 2, 7, 0, 4},
        {"whole rows to the byte", header + 5 * row, 1 << 20, -1, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const QTemporaryDir folder;
        qint64 room = c.room;
        ReadingLogFile log([&](QFile& file, const char* data, qint64 size) {
            const qint64 take = std::min({size, c.piece, room});
            room -= take;
            return take > 0 ? file.write(data, take) : c.whenFull;
        });
        ASSERT_TRUE(log.open(folder.path(), "Data", start));
        for (int seq = 0; seq < 6; ++seq) {
            log.add({start.addMSecs(100 * seq), 100 + seq, seq, 6554});
            if (seq % 3 == 2) log.flush();
        }
        log.close();

        QFile file(folder.filePath("Data-20261207-093005.csv"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), readingCsvHeader() + lines.mid(0, c.rowsKept).join());
        EXPECT_EQ(log.rows(), c.rowsKept);
        EXPECT_EQ(log.error(), c.rowsKept < 6 ? "the disk took no more bytes" : "");
    }
}

}  // namespace
