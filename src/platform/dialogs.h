#pragma once

#include <QString>
#include <QStringList>

// Answer codes of a message box, as the program compares them.
enum DialogAnswer : int { AnswerOk = 1, AnswerCancel = 2, AnswerRetry = 4, AnswerYes = 6, AnswerNo = 7 };

enum class DialogButtons { Ok, RetryCancel, YesNo };

struct MessageBoxRequest {
    QString text;
    DialogButtons buttons = DialogButtons::Ok;
    QString title;
};

struct FileDialogRequest {
    QString title;
    QString fileName;
    QString filter;  // "All Files (*.*)|*.*|..." pairs, as the program writes them
    QString pattern;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Shows a modal box without an icon; returns the answer code of the button pressed.
    virtual int messageBox(const MessageBoxRequest& request) = 0;
    // Returns the chosen path, or an empty text when the user cancels.
    virtual QString chooseFile(const FileDialogRequest& request) = 0;
    // Files that exist, to open: the chosen paths, or none when the user cancels.
    virtual QStringList chooseFilesToOpen(const FileDialogRequest& request) = 0;
};

class QtDialogs final : public Dialogs {
public:
    int messageBox(const MessageBoxRequest& request) override;
    QString chooseFile(const FileDialogRequest& request) override;
    QStringList chooseFilesToOpen(const FileDialogRequest& request) override;
};
