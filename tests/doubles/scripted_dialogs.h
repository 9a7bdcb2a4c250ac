#pragma once

#include <QString>
#include <deque>
#include <functional>
#include <vector>

#include "platform/dialogs.h"

// Answers from a script and records every box shown. An empty script answers Cancel to Retry/Cancel
// boxes (so a search loop always ends), No to Yes/No questions and OK otherwise.
class ScriptedDialogs final : public Dialogs {
public:
    using Responder = std::function<int(const MessageBoxRequest&)>;

    void answer(int code) {
        answers_.push_back([code](const MessageBoxRequest&) { return code; });
    }
    void answerWith(Responder responder) { answers_.push_back(std::move(responder)); }
    void chooseFileAnswer(QString path) { files_.push_back(std::move(path)); }

    int messageBox(const MessageBoxRequest& request) override {
        shown.push_back(request);
        if (answers_.empty())
            return request.buttons == DialogButtons::RetryCancel ? AnswerCancel
                   : request.buttons == DialogButtons::YesNo     ? AnswerNo
                                                                 : AnswerOk;
        const Responder next = std::move(answers_.front());
        answers_.pop_front();
        return next(request);
    }
    QString chooseFile(const FileDialogRequest& request) override {
        fileRequests.push_back(request);
        const QString path = files_.empty() ? QString() : files_.front();
        if (!files_.empty()) files_.pop_front();
        return path;
    }
    QStringList chooseFilesToOpen(const FileDialogRequest& request) override {
        const QString path = chooseFile(request);
        return path.isEmpty() ? QStringList() : QStringList{path};
    }
    // The texts of the boxes shown, in order.
    std::vector<QString> texts() const {
        std::vector<QString> all;
        for (const MessageBoxRequest& box : shown) all.push_back(box.text);
        return all;
    }

    std::vector<MessageBoxRequest> shown;
    std::vector<FileDialogRequest> fileRequests;

private:
    std::deque<Responder> answers_;
    std::deque<QString> files_;
};
