#include "tests/demo/board_window_fixture.h"

void BoardWindowTest::collect(std::function<void()> meanwhile) {
    bool inside = false;  // what the hook does may let events run again
    rig.events.meanwhile = [&] {
        if (inside || rig.exit.requested()) return;
        inside = true;
        meanwhile();
        inside = false;
    };
    panel().cmdCollectData_Click();
    rig.events.meanwhile = nullptr;
}

std::vector<QString> BoardWindowTest::boxTexts() const {
    std::vector<QString> texts;
    for (const MessageBoxRequest& box : rig.dialogs.shown) texts.push_back(box.text);
    return texts;
}

QString BoardWindowTest::shownRegisters(int first) {
    QString text;
    for (int n = first; n < first + 4; ++n) text += panel().txtRegRd[static_cast<std::size_t>(n)]->text();
    return text;
}
