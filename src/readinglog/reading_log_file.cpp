#include "readinglog/reading_log_file.h"

#include <QDir>
#include <QFileInfo>

bool ReadingLogFile::open(const QString& folder, const QString& baseName, const QDateTime& start) {
    error_.clear();
    rows_ = 0;
    rowsWaiting_ = 0;
    const QString stem = QDir(folder).filePath(baseName + start.toString(QStringLiteral("-yyyyMMdd-HHmmss")));
    // NewOnly refuses whatever exists under the name (a pipe too, so no open waits for a reader), also
    // what another program creates between our check and ours.
    for (int taken = 1;; ++taken) {
        file_.setFileName(taken == 1 ? stem + ".csv" : QString("%1-%2.csv").arg(stem).arg(taken));
        if (file_.createNew()) break;
        if (!file_.exists()) {
            error_ = file_.error();
            return false;
        }
    }
    if (!file_.append(readingCsvHeader())) {
        fail(file_.error());
        file_.remove();  // a log without its header is no log
        return false;
    }
    if (follower_) follower_->followLog(QFileInfo(path()).absoluteFilePath(), 0);
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
    if (!follower_ || !(file_.isOpen() ? flush() : rows_ > 0)) return;
    follower_->followLog(QFileInfo(path()).absoluteFilePath(), rows_);
    if (!file_.isOpen()) follower_->logClosed();
}

bool ReadingLogFile::flush() {
    if (!file_.isOpen()) return !failed();
    // A folder removed under an open file swallows every row without an error: say so instead.
    if (!QFileInfo::exists(file_.fileName())) {
        fail(QStringLiteral("the file or its folder was removed"));
        return false;
    }
    const qint64 before = file_.size();
    if (file_.append(waiting_)) {
        waiting_.clear();
        rows_ += rowsWaiting_;
        rowsWaiting_ = 0;
        return true;
    }
    // Only whole rows stay, and only they are counted: a row cut short would read as a wrong reading.
    rows_ += waiting_.left(file_.size() - before).count('\n');
    fail(file_.error());
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

void ReadingLogFile::fail(const QString& why) {
    error_ = why;
    waiting_.clear();
    rowsWaiting_ = 0;
    file_.close();
    if (follower_) follower_->logClosed();
}
