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
    std::vector<ReadingRow> rows;  // two flushes of three rows each, all as long as one another
    QList<QByteArray> lines;
    for (int seq = 0; seq < 6; ++seq) {
        rows.push_back({start.addMSecs(100 + seq * 100), 100 + seq * 100, seq, 6554});
        lines += readingCsvLine(rows.back());
    }
    const qint64 header = readingCsvHeader().size(), row = lines[0].size();
    const struct {
        const char* what;
        qint64 room;      // the bytes the disk takes
        qint64 piece;     // the most one write takes
        qint64 whenFull;  // what a write returns once the disk is full
        int rowsKept;     // -1: not even the header, no file left
    } cases[] = {
        {"everything, a few bytes at a time", 1 << 20, 5, -1, 6},
        {"the header alone", header, 1 << 20, 0, 0},
        {"nothing of the second flush", header + 3 * row, 1 << 20, 0, 3},
        {"nothing of the second flush, refused", header + 3 * row, 1 << 20, -1, 3},
        {"half a row, in short writes", header + 4 * row + row / 2, 7, 0, 4},
        {"whole rows to the byte", header + 5 * row, 1 << 20, -1, 5},
        {"part of the header", header / 2, 1 << 20, -1, -1},
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
        ASSERT_EQ(log.open(folder.path(), "Data", start), c.rowsKept >= 0);
        for (std::size_t i = 0; i < rows.size(); ++i) {
            log.add(rows[i]);
            if (i % 3 == 2) log.flush();
        }
        log.close();

        const QStringList left =
            QDir(folder.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
        if (c.rowsKept < 0) {
            EXPECT_EQ(left, QStringList());
            EXPECT_EQ(log.error(), "the disk took no more bytes");
            continue;
        }
        ASSERT_EQ(left, QStringList("Data-20261207-093005.csv"));
        QFile file(folder.filePath(left[0]));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), readingCsvHeader() + lines.mid(0, c.rowsKept).join());
        EXPECT_EQ(log.rows(), c.rowsKept);
        EXPECT_EQ(log.failed(), c.rowsKept < 6);
    }
}

}  // namespace
