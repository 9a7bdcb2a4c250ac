#include "acquisition/record_frame.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "acquisition/record_file.h"
#include "common/display_box.h"
#include "common/number_text.h"
#include "common/program_identity.h"

namespace {
// Fewer stored samples than this leave nothing worth writing (the first eleven are never written).
constexpr int kFewestSamples = 20;

QString offerQuestion(int count, const QString& path) {
    if (path.isEmpty())
        return QString("Write the %1 readings of this run to a file before closing? Yes lets you choose it.")
            .arg(count);
    return QString("Write the %1 readings of this run to %2 before closing?").arg(count).arg(path);
}

QString againQuestion(int count, const QString& path) {
    const QString unwritten =
        path.isEmpty()
            ? QString("The %1 readings of this run have not been written: no file is chosen.").arg(count)
            : QString("The %1 readings of this run could not be written to %2.").arg(count).arg(path);
    return unwritten + " Choose another file for them? No closes the program without them.";
}
}  // namespace

frmDataRecord::frmDataRecord(SampleHistory& history, CollectionHost& host, CollectionFrame& collection,
                             Services& services, std::function<void()> stop)
    : QGroupBox("Save Measurements to File"),
      history_(history),
      host_(host),
      collection_(collection),
      services_(services),
      stop_(std::move(stop)) {
    txtFilePath = new QLineEdit;
    txtFilePath->setToolTip("Contains Path + File name where measurement data will be written.");
    txtFilePath->setAccessibleName("Measurement file path");
    cmdBrowse = new QPushButton("Browse");
    cmdBrowse->setToolTip("Use this to select file where measurement data will be written.");
    chkAppend = new QCheckBox("Append");
    chkAppend->setChecked(true);
    chkAppend->setToolTip(
        "If check, data is appended to end of Measurement file, if uncheck file is overwritten with "
        "present data only.");
    cmdStartRec = new QPushButton("Write to Disk");
    cmdStartRec->setToolTip("Click here to save measurement to disk file.");

    chkLogEveryReading = new QCheckBox("Log every reading");
    chkLogEveryReading->setToolTip(
        "While checked, every reading of a run is written to its own CSV file as it is taken, beside the "
        "measurement file.");
    cmdHistory = new QPushButton("History...");
    cmdHistory->setToolTip(
        "Opens the history view on the run being logged: the whole run, followed as it is taken. The next "
        "run takes its place.");
    // A read-only line on the window's colour, read as a label: a label's new text lays the whole panel
    // out again, and this one changes every second of a run. A long text never widens the panel.
    txtReadingLog = new QLineEdit;
    txtReadingLog->setReadOnly(true);
    txtReadingLog->setFrame(false);
    txtReadingLog->setFocusPolicy(Qt::ClickFocus);  // Tab passes it by, as it passes a label
    txtReadingLog->setAccessibleName("Log of every reading");
    QPalette onWindow = txtReadingLog->palette();
    onWindow.setBrush(QPalette::Base, onWindow.window());
    txtReadingLog->setPalette(onWindow);
    txtReadingLog->setAttribute(Qt::WA_OpaquePaintEvent);  // it fills itself: a new text repaints it alone
    txtReadingLog->setFont(withoutShaping(txtReadingLog->font()));

    auto* file = new QHBoxLayout;
    file->addWidget(txtFilePath, 1);
    file->addWidget(cmdBrowse);
    file->addWidget(chkAppend);
    file->addWidget(cmdStartRec);
    // The button as tall as the line beside it: the panel keeps its size and every control its place.
    cmdHistory->setFixedHeight(
        std::max(chkLogEveryReading->sizeHint().height(), txtReadingLog->sizeHint().height()));
    auto* log = new QHBoxLayout;
    log->addWidget(chkLogEveryReading);
    log->addWidget(cmdHistory);
    log->addWidget(txtReadingLog, 1);
    // The log's line belongs to the file's line: no gap between them keeps the panel within a laptop's
    // screen.
    auto* rows = new QVBoxLayout(this);
    rows->setSpacing(0);
    rows->addLayout(file);
    rows->addLayout(log);

    connect(cmdBrowse, &QPushButton::clicked, this, &frmDataRecord::cmdBrowse_Click);
    connect(cmdStartRec, &QPushButton::clicked, this, &frmDataRecord::cmdStartRec_Click);
}

void frmDataRecord::cmdBrowse_Click() {
    chooseFile();
}

bool frmDataRecord::chooseFile() {
    QString chosen = services_.dialogs.chooseFile(
        {"Select File For Recording", "", "All Files (*.*)|*.*|Tolvane Data Files(*.txt)|*.txt", "*.txt"});
    if (chosen.isEmpty()) return false;
    // The dialog's "*.txt" is the record file's extension: a name typed without one gets it.
    if (QFileInfo(chosen).suffix().isEmpty()) chosen += ".txt";
    txtFilePath->setText(chosen);
    return true;
}

void frmDataRecord::cmdStartRec_Click() {
    if (history_.SampleIndex < kFewestSamples) {
        services_.dialogs.messageBox({"Save More Measurements", DialogButtons::Ok, kProgramTitle});
        return;
    }
    stop_();
    collection_.cmdCollectData->setEnabled(false);
    const QDateTime written = writeBlock();
    if (written.isValid()) {
        collection_.Label18->setText(signedDecimal(static_cast<long long>(recordLineCount(history_))) +
                                     " Measurement set(s) written: " + recordDate(written) + " " +
                                     recordTime(written));
    }
    collection_.cmdCollectData->setEnabled(true);
}

void frmDataRecord::offerUnsavedReadings() {
    if (history_.SampleIndex < kFewestSamples || history_.savedSinceRunStart) return;
    const int count = recordLineCount(history_);
    const auto yes = [this](const QString& question) {
        return services_.dialogs.messageBox({question, DialogButtons::YesNo, kProgramTitle}) == AnswerYes;
    };
    if (!yes(offerQuestion(count, txtFilePath->text()))) return;
    // With no file named, choosing one comes first.
    bool chosen = !txtFilePath->text().isEmpty() || chooseFile();
    while (!chosen || !writeBlock().isValid()) {
        // A failed write's own message has said why; a cancelled file choice asks again.
        if (!yes(againQuestion(count, txtFilePath->text()))) return;
        chosen = chooseFile();
    }
}

QDateTime frmDataRecord::writeBlock() {
    const QDateTime now = services_.calendar.now();
    const QByteArray block = recordBlock({host_.commandRegisterText(), host_.controlRegisterText(),
                                          collection_.txtInterval->text(), now, history_});
    if (const auto error = writeRecordBlock(txtFilePath->text(), chkAppend->isChecked(), block)) {
        services_.dialogs.messageBox({*error, DialogButtons::Ok, kProgramTitle});
        return {};
    }
    history_.savedSinceRunStart = true;
    return now;
}
