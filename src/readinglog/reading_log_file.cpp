#include "readinglog/reading_log_file.h"

#include <QDir>
#include <QFileInfo>

ReadingLogFile::ReadingLogFile(Write write)
    : write_(write ? std::move(write)
                   : [](QFile& file, const char* data, qint64 size) { return file.write(data, size); }) {}

bool ReadingLogFile::open(const QString& folder, const QString& baseName, const QDateTime& start) {
    error_.clear();
    rows_ = 0;
    rowsWaiting_ = 0;
    const QString stem = QDir(folder).filePath(baseName + start.toString(QStringLiteral("-yyyyMMdd-HHmmss")));
    // NewOnly refuses whatever exists under the name (a pipe too, so no open waits for a reader), also
    // what another program creates between our check and ours.
    for (int taken = 1;; ++taken) {
        file_.setFileName(taken == 1 ? stem + ".csv" : QString("%1-%2.csv").arg(stem).arg(taken));
        if (file_.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) break;
        if (!file_.exists()) {
            error_ = file_.errorString();
            return false;
        }
    }
    const QByteArray header = readingCsvHeader();
    length_ = writeOut(header);
    if (length_ < header.size()) {
        fail(writeError());
        file_.remove();  // a log without its header is no log
        return false;
    }
    if (follower_) follower_->followLog(QFileInfo(file_).absoluteFilePath(), 0);
    return true;
}

void ReadingLogFile::add(const ReadingRow& row) {
    if (!file_.isOpen()) return;
    const QByteArray line = readingCsvLine(row);
    waiting_ += line;
    ++rowsWaiting_;
    if (follower_) follower_->lineAdded(line);
}

void ReadingLogFile::setFollower(ReadingLogFollower* follower) {
    follower_ = follower;
    if (follower_ && file_.isOpen() && flush())
        follower_->followLog(QFileInfo(file_).absoluteFilePath(), rows_);
}

bool ReadingLogFile::flush() {
    if (!file_.isOpen()) return !failed();
    // A folder removed under an open file swallows every row without an error: say so instead.
    if (!QFileInfo::exists(file_.fileName())) {
        fail(QStringLiteral("the file or its folder was removed"));
        return false;
    }
    const qint64 done = writeOut(waiting_);
    if (done == waiting_.size()) {
        length_ += done;
        waiting_.clear();
        rows_ += rowsWaiting_;
        rowsWaiting_ = 0;
        return true;
    }
    // Only whole rows stay, and only they are counted: a row cut short would read as a wrong reading.
    const qint64 whole = done > 0 ? waiting_.lastIndexOf('\n', done - 1) + 1 : 0;
    const QString why = writeError();
    file_.resize(length_ + whole);
    rows_ += waiting_.left(whole).count('\n');
    fail(why);
    return false;
}

void ReadingLogFile::close() {
    if (!file_.isOpen()) return;
    if (!flush()) return;  // the failure has closed it, and said so
    file_.close();
    if (follower_) follower_->logClosed();
}

QString ReadingLogFile::fileName() const {
    return QFileInfo(file_.fileName()).fileName();
}

qint64 ReadingLogFile::writeOut(const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 written = write_(file_, bytes.constData() + done, bytes.size() - done);
        if (written <= 0) break;
        done += written;
    }
    return done;
}

QString ReadingLogFile::writeError() const {
    return file_.error() == QFileDevice::NoError ? QStringLiteral("the disk took no more bytes")
                                                 : file_.errorString();
}

void ReadingLogFile::fail(const QString& why) {
    error_ = why;
    waiting_.clear();
    rowsWaiting_ = 0;
    file_.close();
    if (follower_) follower_->logClosed();
}
