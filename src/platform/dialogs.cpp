#include "platform/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

int QtDialogs::messageBox(const MessageBoxRequest& request) {
    QMessageBox box;
    box.setIcon(QMessageBox::NoIcon);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    if (request.buttons == DialogButtons::RetryCancel) {
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Retry);
        return box.exec() == QMessageBox::Retry ? AnswerRetry : AnswerCancel;
    }
    if (request.buttons == DialogButtons::YesNo) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        return box.exec() == QMessageBox::Yes ? AnswerYes : AnswerNo;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
    return AnswerOk;
}

// The program writes filters as "description|pattern|description|pattern"; Qt wants
// "description (pattern);;...". Descriptions that already name their pattern are kept as they are.
static QString qtFilter(const QString& filter) {
    const QStringList parts = filter.split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& pattern = parts[i + 1];
        entries << (description.contains(pattern) ? description : description + " (" + pattern + ")");
    }
    return entries.join(";;");
}

// The dialog starts on the filter of the request's pattern ("*.txt": the text files).
static QStringList choose(const FileDialogRequest& request, QFileDialog::FileMode mode) {
    QFileDialog dialog(nullptr, request.title, request.fileName, qtFilter(request.filter));
    dialog.setFileMode(mode);
    if (mode == QFileDialog::AnyFile) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    }
    for (const QString& entry : dialog.nameFilters()) {
        if (!request.pattern.isEmpty() && entry.contains(request.pattern)) {
            dialog.selectNameFilter(entry);
            break;
        }
    }
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
}

QString QtDialogs::chooseFile(const FileDialogRequest& request) {
    const QStringList chosen = choose(request, QFileDialog::AnyFile);
    return chosen.isEmpty() ? QString() : chosen.constFirst();
}

QStringList QtDialogs::chooseFilesToOpen(const FileDialogRequest& request) {
    return choose(request, QFileDialog::ExistingFiles);
}
