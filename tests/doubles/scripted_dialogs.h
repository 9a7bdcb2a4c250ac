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

    int messageBox(const MessageBoxRequest& request) override;
    QString chooseFile(const FileDialogRequest& request) override;

    std::vector<MessageBoxRequest> shown;
    // The texts of the boxes shown, in order.
    std::vector<QString> texts() const;
    std::vector<FileDialogRequest> fileRequests;

private:
    std::deque<Responder> answers_;
    std::deque<QString> files_;
};
