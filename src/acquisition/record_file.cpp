#include "acquisition/record_file.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

#include "common/number_text.h"
#include "readinglog/whole_line_file.h"

namespace {

constexpr int kFirstWritten = 11;  // the first counted sample (index 10) is not written

QByteArray line(const QString& text) {
    return text.toUtf8() + "\r\n";
}

QString headerLine(const RecordInputs& in, int lineCount) {
    return "Seq,AD Decimal,Integration,Reg0:&h" + in.commandText + " :Reg1 &h" + in.controlText +
           ",Interval " + in.intervalText + ", " + recordDate(in.when) + "," + recordTime(in.when) + ", Qty" +
           signedDecimal(static_cast<long long>(lineCount));
}

QString dataLine(const SampleHistory& history, int index) {
    const auto i = static_cast<std::size_t>(index);
    return signedDecimal(static_cast<long long>(index - kFirstWritten)) + "," +
           signedDecimal(history.AdcHistory[i]) + "," + signedDecimal(history.IntegrationHistory[i]);
}

// A short write is retried so that the refusal, not a silent partial count, is what the file reports.
bool writeWhole(QFileDevice& file, const QByteArray& bytes) {
    return writeAll(file, bytes) == bytes.size() && file.flush();
}

// Unbuffered throughout: a buffered QSaveFile in this Qt can lose a failed flush and commit a
// truncated file, and a failed flush left in a QFile's buffer would block the cut-back.
constexpr QIODevice::OpenMode kWrite = QIODevice::WriteOnly | QIODevice::Unbuffered;

// A sink is written as it is; replacing it through a temporary file would swap the node for a plain
// file.
std::optional<QString> writeThrough(const QString& path, const QByteArray& block) {
    QFile file(path);
    if (!file.open(kWrite) || !writeWhole(file, block)) return file.errorString();
    return std::nullopt;
}

// The old file goes only once the new one is complete; on failure the save file's destructor
// discards the temporary. Where no file may be created beside it (a folder that is not ours, with a
// file in it that is), the file is written in place, as a plain overwrite would.
std::optional<QString> replaceWith(const QString& path, const QByteArray& block) {
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(kWrite)) return file.errorString();
    if (!writeWhole(file, block)) return file.errorString();
    if (!file.commit()) return file.errorString();
    return std::nullopt;
}

// What a write may go through as it is: the devices that take any bytes at once.
bool isSink(const struct stat& target) {
    if (!S_ISCHR(target.st_mode)) return false;
    for (const char* sink : {"/dev/null", "/dev/zero", "/dev/full"}) {
        struct stat info {};
        if (::stat(sink, &info) == 0 && S_ISCHR(info.st_mode) && info.st_rdev == target.st_rdev) return true;
    }
    return false;
}

// Why `path` names nothing a block can be written to, before anything opens it: opening a pipe waits
// until another program reads it, and the window with it; a socket cannot be opened at all; a disk or
// a terminal is no place for the readings.
std::optional<QString> refusal(const QString& path) {
    struct stat target {};
    if (::stat(QFile::encodeName(path).constData(), &target) != 0) return std::nullopt;  // the open says why
    if (S_ISREG(target.st_mode) || S_ISDIR(target.st_mode) || isSink(target)) return std::nullopt;
    const char* what = S_ISFIFO(target.st_mode)   ? "a named pipe (FIFO)"
                       : S_ISSOCK(target.st_mode) ? "a socket"
                                                  : "a device";
    return QString("%1 is %2, not a file. Choose a regular file for the readings.").arg(path, what);
}

// On failure the file is cut back to what it held, or removed when this write created it.
std::optional<QString> appendBlock(const QString& path, const QByteArray& block) {
    const bool existed = QFileInfo::exists(path);
    QFile file(path);
    if (!file.open(kWrite | QIODevice::Append)) return file.errorString();
    const qint64 formerLength = file.size();
    if (writeWhole(file, block)) return std::nullopt;
    const QString error = file.errorString();  // resize() and remove() clear it
    if (existed)
        file.resize(formerLength);
    else
        file.remove();
    return error;
}

}  // namespace

QString recordDate(const QDateTime& when) {
    return when.toString(QStringLiteral("MM-dd-yyyy"));
}

QString recordTime(const QDateTime& when) {
    return when.toString(QStringLiteral("HH:mm:ss"));
}

// Kept within the history so the header's count always matches the lines written.
int recordLineCount(const SampleHistory& history) {
    return std::clamp(history.SampleIndex - kFirstWritten, 0, SampleHistory::kLastIndex - kFirstWritten);
}

QByteArray recordBlock(const RecordInputs& inputs) {
    const int count = recordLineCount(inputs.history);
    QByteArray block = line(headerLine(inputs, count));
    for (int i = kFirstWritten; i < kFirstWritten + count; ++i) block += line(dataLine(inputs.history, i));
    return block + line(QStringLiteral("END"));
}

std::optional<QString> writeRecordBlock(const QString& path, bool append, const QByteArray& block) {
    if (path.isEmpty()) return QString(kNoFileName);
    if (const auto refused = refusal(path)) return refused;
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir()) return writeThrough(path, block);
    return append ? appendBlock(path, block) : replaceWith(path, block);
}

QString defaultRecordPath(const QString& programFolder, bool programFolderWritable,
                          const QString& documentsFolder) {
    return (programFolderWritable ? programFolder : documentsFolder) + QStringLiteral("/Data.txt");
}
