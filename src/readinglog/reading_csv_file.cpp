#include "readinglog/reading_csv_file.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr qint64 kBlockBytes = 4 << 20;
constexpr std::size_t kBatchRows = 4096;
// Far longer than any row; a longer line is not a reading, and is not kept whole while it lasts.
constexpr qint64 kLongestLine = 4096;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

ReadingCsvRead failure(const QString& why) {
    ReadingCsvRead read;
    read.status = ReadingCsvRead::Status::Failed;
    read.error = why;
    return read;
}

// Cuts the blocks into lines and the lines into readings, batch by batch.
class LineSplitter {
public:
    LineSplitter(ReadingCsvConsumer& consumer, qint64 mostRows) : consumer_(consumer), mostRows_(mostRows) {
        batch_.reserve(kBatchRows);
    }

    // Takes every whole line of [begin, end); returns where the unfinished last line begins. False in
    // `more` once the header is wrong or the consumer or the row limit has had enough.
    const char* lines(const char* begin, const char* end, bool& more) {
        const char* start = begin;
        while (more) {
            const char* newline = static_cast<const char*>(std::memchr(start, '\n', end - start));
            if (!newline) break;
            const char* lineEnd = newline > start && newline[-1] == '\r' ? newline - 1 : newline;
            more = line(std::string_view(start, static_cast<std::size_t>(lineEnd - start)));
            start = newline + 1;
        }
        const bool flushed = flush();  // also the rows before a stop
        more = more && flushed;
        return start;
    }
    // The part of an overlong line that has been dropped: the line counts once, when it ends.
    void dropLongLine() { skippingLongLine_ = true; }

    bool flush() {
        if (batch_.empty()) return true;
        read.rows += static_cast<qint64>(batch_.size());
        const bool more = consumer_.take(batch_);
        batch_.clear();
        return more && read.rows < mostRows_;
    }

    ReadingCsvRead read;
    bool headerSeen = false;

private:
    bool line(std::string_view text) {
        ++lineNumber_;
        if (!headerSeen) {
            // A spreadsheet saving "CSV UTF-8" puts the byte order mark first.
            if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
            severalBoards_ = text == kBoardReadingCsvColumns;
            headerSeen = severalBoards_ || text == kReadingCsvColumns;
            return headerSeen;
        }
        LoggedReading reading;
        if (skippingLongLine_ || (!text.empty() && !parse(text, reading))) {
            skippingLongLine_ = false;
            if (read.linesLeftOut++ == 0) read.firstLeftOut = lineNumber_;
            return true;
        }
        if (text.empty()) return true;  // a blank line holds nothing
        batch_.push_back(reading);
        if (read.rows + static_cast<qint64>(batch_.size()) >= mostRows_) return false;
        return batch_.size() < kBatchRows || flush();
    }

    bool parse(std::string_view text, LoggedReading& reading) {
        if (!severalBoards_) return parseReadingCsvLine(text, reading);
        const std::optional<std::string> board = takeCsvField(text);
        if (!board || !parseReadingCsvLine(text, reading)) return false;
        const auto known = std::find(boards_.begin(), boards_.end(), *board);
        reading.board = static_cast<int>(known - boards_.begin());
        if (known == boards_.end()) {
            boards_.push_back(*board);
            read.boards << QString::fromStdString(*board);
        }
        return true;
    }

    ReadingCsvConsumer& consumer_;
    const qint64 mostRows_;
    std::vector<LoggedReading> batch_;
    qint64 lineNumber_ = 0;
    bool skippingLongLine_ = false;
    bool severalBoards_ = false;
    std::vector<std::string> boards_;
};

}  // namespace

ReadingCsvRead readReadingCsv(const QString& path, ReadingCsvConsumer& consumer, qint64 mostRows) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    if (info.isDir()) return failure(QString("%1 is a folder, not a log of readings.").arg(path));
    // A pipe or a device would keep the reading waiting, maybe for ever.
    if (info.exists() && !info.isFile())
        return failure(QString("%1 is not a file but a pipe or a device, not a log of readings.").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return failure(QString("Cannot read %1: %2.").arg(path, file.errorString()));
    const qint64 total = file.size();  // what is there now; rows written meanwhile wait for the next look
    if (total == 0) return failure(QString("%1 is empty: it holds no readings.").arg(name));

    LineSplitter splitter(consumer, mostRows);
    std::vector<char> buffer(static_cast<std::size_t>(kBlockBytes + kLongestLine));
    qint64 carried = 0;  // the unfinished line at the front of the buffer
    qint64 done = 0;
    bool more = true;
    bool shrank = false;
    while (more && done < total) {
        const qint64 got = file.read(buffer.data() + carried, std::min(kBlockBytes, total - done));
        if (got < 0) return failure(QString("Cannot read %1: %2.").arg(path, file.errorString()));
        if (got == 0) {
            shrank = true;
            break;
        }
        done += got;
        const char* end = buffer.data() + carried + got;
        const char* rest = splitter.lines(buffer.data(), end, more);
        carried = end - rest;
        if (carried > kLongestLine) {
            splitter.dropLongLine();
            carried = 0;
        }
        std::memmove(buffer.data(), rest, static_cast<std::size_t>(carried));
        if (more && !consumer.progressed(done, total)) more = false;
        if (!splitter.headerSeen) break;  // the first block holds the header, or the file is not a log
    }
    ReadingCsvRead read = splitter.read;
    read.shrank = shrank;
    if (!splitter.headerSeen && shrank)
        return failure(QString("%1 was emptied while it was read.").arg(name));
    if (!splitter.headerSeen)
        return failure(QString("%1 is not a log of readings: its first line is not \"%2\".")
                           .arg(name, QString::fromLatin1(kReadingCsvColumns)));
    read.tornLastRow = more && carried > 0;
    if (!more && read.rows < mostRows) read.status = ReadingCsvRead::Status::Stopped;
    return read;
}
