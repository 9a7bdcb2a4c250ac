#include "tests/doubles/scripted_dialogs.h"

int ScriptedDialogs::messageBox(const MessageBoxRequest& request) {
    shown.push_back(request);
    if (answers_.empty()) {
        switch (request.buttons) {
            case DialogButtons::RetryCancel:
                return AnswerCancel;
            case DialogButtons::YesNo:
                return AnswerNo;
            case DialogButtons::Ok:
                break;
        }
        return AnswerOk;
    }
    Responder next = std::move(answers_.front());
    answers_.pop_front();
    return next(request);
}

QString ScriptedDialogs::chooseFile(const FileDialogRequest& request) {
    fileRequests.push_back(request);
    if (files_.empty()) return {};
    QString path = std::move(files_.front());
    files_.pop_front();
    return path;
}

std::vector<QString> ScriptedDialogs::texts() const {
    std::vector<QString> all;
    for (const MessageBoxRequest& box : shown) all.push_back(box.text);
    return all;
}
