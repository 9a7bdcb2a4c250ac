// The scripted dialogs the tests answer boxes with.
#include "platform/dialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(ScriptedDialogs, UnscriptedBoxesAnswerCancelOrOkAndAreRecorded) {
    ScriptedDialogs dialogs;
    EXPECT_EQ(dialogs.messageBox({"lost", DialogButtons::RetryCancel, "Board"}), AnswerCancel);
    EXPECT_EQ(dialogs.messageBox({"note", DialogButtons::Ok, ""}), AnswerOk);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text, "lost");
    EXPECT_EQ(dialogs.shown[0].title, "Board");
    EXPECT_EQ(dialogs.shown[1].buttons, DialogButtons::Ok);
}

TEST(ScriptedDialogs, ScriptedAnswersComeInOrderThenTheDefaultsAgain) {
    ScriptedDialogs dialogs;
    dialogs.answer(AnswerRetry);
    QString seen;
    dialogs.answerWith([&](const MessageBoxRequest& request) {
        seen = request.text;
        return AnswerRetry;
    });
    const MessageBoxRequest box{"again?", DialogButtons::RetryCancel, ""};
    EXPECT_EQ(dialogs.messageBox(box), AnswerRetry);
    EXPECT_TRUE(seen.isEmpty());
    EXPECT_EQ(dialogs.messageBox(box), AnswerRetry);
    EXPECT_EQ(seen, "again?");
    EXPECT_EQ(dialogs.messageBox(box), AnswerCancel);
    EXPECT_EQ(dialogs.shown.size(), 3u);
}

TEST(ScriptedDialogs, FileChoiceIsCancelledUnlessScripted) {
    ScriptedDialogs dialogs;
    dialogs.chooseFileAnswer("/tmp/run.txt");
    const FileDialogRequest request{"Save", "data.txt", "Text (*.txt)|*.txt", "*.txt"};
    EXPECT_EQ(dialogs.chooseFile(request), "/tmp/run.txt");
    EXPECT_EQ(dialogs.chooseFile(request), "");
    ASSERT_EQ(dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, "data.txt");
}

}  // namespace
