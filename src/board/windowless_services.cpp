#include "board/windowless_services.h"

int CancellingDialogs::messageBox(const MessageBoxRequest& request) {
    lastText = QString(request.text).replace("\r\n", " ");
    return request.buttons == DialogButtons::Ok ? AnswerOk : AnswerCancel;
}
