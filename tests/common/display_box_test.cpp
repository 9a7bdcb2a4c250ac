// The number boxes: each looks exactly like a read-only text box with the same text, pixel for pixel.
#include "common/display_box.h"

#include <gtest/gtest.h>

#include <QLineEdit>

namespace {

TEST(DisplayBox, LooksLikeAReadOnlyTextBoxWithTheSameText) {
    QWidget window;
    QLineEdit* box = new DisplayBox({});
    auto* plain = new QLineEdit;
    plain->setReadOnly(true);
    plain->setFont(box->font());
    for (QLineEdit* each : {box, plain}) each->setParent(&window);
    plain->move(0, 30);
    // Digits, signs and hexadecimal side by side, narrow glyphs, characters no number has, a space,
    // nothing.
    const QString texts[] = {"0",     "1234", "-12.345", "0.0", "FF", "7A",  "1.1.1.1", "11111111",
                             "ilj.,", "ÄÖÜ",  "Ǻ|[]{}_", "a b", "",   "W/Q", "-0.5",    "1234"};
    const auto expectAlike = [&](const QString& text) {
        box->setText(text);
        plain->setText(text);
        const QImage shown = window.grab().toImage();
        EXPECT_EQ(shown.copy(box->geometry()), shown.copy(plain->geometry())) << text.toStdString();
    };
    for (QLineEdit* each : {box, plain}) each->resize(80, each->sizeHint().height());
    for (const QString& text : texts) expectAlike(text);
    // A new font for the text shown.
    expectAlike("8");
    QFont smaller = box->font();
    smaller.setPointSize(smaller.pointSize() - 2);
    for (QLineEdit* each : {box, plain}) each->setFont(smaller);
    expectAlike("8");
}

}  // namespace
