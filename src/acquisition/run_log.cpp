#include "acquisition/run_log.h"

#include <QFileInfo>

#include "acquisition/record_file.h"
#include "common/program_identity.h"

namespace {
constexpr std::uint32_t kFlushEveryMs = 1000;  // a crash or a lost link loses at most this
constexpr int kFirstRecorded = 11;             // the record file's sequence 0 is the run's twelfth reading
}  // namespace

RunLog::RunLog(frmDataRecord& record, Services& services) : record_(record), services_(services) {
    QCheckBox* box = record_.chkLogEveryReading;
    QObject::connect(box, &QCheckBox::toggled, box, [this](bool ticked) { follow(ticked); });
}

void RunLog::start() {
    finish();
    following_ = true;
    record_.txtReadingLog->clear();
    if (record_.chkLogEveryReading->isChecked()) open();
}

void RunLog::follow(bool ticked) {
    if (!following_) return;
    if (ticked) {
        open();
    } else {
        close();
    }
}

void RunLog::open() {
    const QDateTime startedAt = services_.calendar.now();
    startFace_ = QDateTime(startedAt.date(), startedAt.time(), Qt::UTC);
    startMs_ = flushedMs_ = services_.clock.milliseconds();
    const QString path = record_.txtFilePath->text();
    const QFileInfo recordFile(path);
    if (path.isEmpty()) return cannotStart(QString(), kNoFileName);
    if (!file_.open(recordFile.absolutePath(), recordFile.completeBaseName(), startedAt))
        return cannotStart(file_.path(), file_.error());
    showProgress();
}

void RunLog::cannotStart(const QString& path, const QString& why) {
    const QString log = path.isEmpty() ? QStringLiteral("The log of every reading")
                                       : QString("The log of every reading, %1,").arg(path);
    services_.dialogs.messageBox(
        {QString("%1 could not be created: %2. The run goes on without it.").arg(log, why), DialogButtons::Ok,
         kProgramTitle});
}

void RunLog::add(qint64 sample, int count, std::uint8_t r0, std::uint8_t r1) {
    if (!file_.isOpen()) return;
    const std::uint32_t now = services_.clock.milliseconds();
    const qint64 elapsed = static_cast<std::int32_t>(now - startMs_);
    file_.add({startFace_.addMSecs(elapsed), elapsed, sample - kFirstRecorded, count, r0, r1});
    flushIfDue(now);
}

void RunLog::finish() {
    following_ = false;
    close();
}

void RunLog::close() {
    if (!file_.isOpen()) return;
    file_.close();
    showProgress();
}

// The line shows what each flush leaves on disk: the rows the file holds, once a second.
void RunLog::flushIfDue(std::uint32_t now) {
    if (now - flushedMs_ < kFlushEveryMs) return;
    flushedMs_ = now;
    file_.flush();
    showProgress();
}

void RunLog::showProgress() {
    const QString rows = QString::number(file_.rows()) + (file_.rows() == 1 ? " row" : " rows");
    record_.txtReadingLog->setText(file_.failed()
                                       ? QString("Log stopped after %1: %2").arg(rows, file_.error())
                                       : QString("%1: %2").arg(file_.fileName(), rows));
    record_.txtReadingLog->setCursorPosition(0);  // the beginning in view when the line is narrow
}
