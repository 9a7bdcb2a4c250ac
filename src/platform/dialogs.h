#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

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
};

class QtDialogs final : public Dialogs {
public:
    int messageBox(const MessageBoxRequest& request) override;
    QString chooseFile(const FileDialogRequest& request) override;
};

// Test double: answers from a script and records every box shown. An empty script answers
// Cancel to Retry/Cancel boxes (so a search loop always ends), No to Yes/No questions and OK otherwise.
class ScriptedDialogs final : public Dialogs {
public:
    using Responder = std::function<int(const MessageBoxRequest&)>;

    void answer(int code) {
        answers_.push_back([code](const MessageBoxRequest&) { return code; });
    }
    void answerWith(Responder responder) { answers_.push_back(std::move(responder)); }
    void chooseFileAnswer(QString path) { files_.push_back(std::move(path)); }

    int messageBox(const MessageBoxRequest& request) override;
    QString chooseFile(const FileDialogRequest& request) override;

    std::vector<MessageBoxRequest> shown;
    std::vector<FileDialogRequest> fileRequests;

private:
    std::deque<Responder> answers_;
    std::deque<QString> files_;
};
