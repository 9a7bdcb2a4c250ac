// The number boxes and labels: each looks exactly like a plain read-only text box or label with the
// same text, pixel for pixel.
#include "common/display_box.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <type_traits>

#include "common/number_label.h"

namespace {

// Digits, signs and hexadecimal side by side, narrow glyphs, characters no number has, a space, nothing;
// at the end, texts as long as the last that begin alike and differ at the end: in a digit, in width,
// in an accent whose ink reaches back over the letter before it.
const QString kTexts[] = {"0",       "1234",    "-12.345",  "0.0",   "FF",
                          "7A",      "1.1.1.1", "11111111", "ilj.,", "ÄÖÜ",
                          "Ǻ|[]{}_", "a b",     "",         "W/Q",   "-0.5",
                          "1234",    "1239",    "1WW9",     "1119",  QStringLiteral("a\u0301"),
                          "ab"};

// Shows each text in `ours` and `plain` side by side, then after moves and a change of font, and compares
// what reaches the screen. They stand in a group box, whose fill differs from the window's, inside a
// container that paints nothing: what shows around and behind them is what their ancestors draw there.
template <typename Widget>
void expectAlike(Widget* ours, Widget* plain) {
    QGroupBox window;
    window.resize(220, 100);
    QWidget inner(&window);
    inner.setGeometry(10, 30, 200, 40);
    plain->setFont(ours->font());
    for (Widget* each : {ours, plain}) each->setParent(&inner);
    plain->move(100, 0);
    window.setFocusPolicy(Qt::StrongFocus);  // the focus rests on the window until a box is clicked
    window.setFocus();
    window.show();
    const auto part = [&](const QWidget* each) {
        QCoreApplication::processEvents();  // the repaints asked for
        const QImage shown = window.screen()->grabWindow(window.winId()).toImage();
        return shown.copy(each->geometry().translated(inner.pos()));
    };
    const auto compare = [&](const QString& text) {
        ours->setText(text);
        plain->setText(text);
        EXPECT_EQ(part(ours), part(plain)) << text.toStdString();
    };
    for (Widget* each : {ours, plain}) each->resize(80, each->sizeHint().height());
    for (const QString& text : kTexts) compare(text);
    if constexpr (std::is_same_v<Widget, QLineEdit>) {
        // Clicked into, with the cursor and the focus frame.
        QImage clicked[2];
        for (Widget* each : {ours, plain}) {
            QTest::mouseClick(each, Qt::LeftButton, {}, QPoint(4, each->height() / 2));
            clicked[each == plain] = part(each);
        }
        EXPECT_EQ(clicked[0], clicked[1]);
        plain->clearFocus();
    }
    inner.move(10, 0);  // over the group box's frame: what lies behind them changes
    compare("8");
    for (Widget* each : {ours, plain}) each->move(each->pos() + QPoint(0, 4));
    compare("9");
    QFont smaller = ours->font();
    smaller.setPointSize(smaller.pointSize() - 2);
    for (Widget* each : {ours, plain}) each->setFont(smaller);
    compare("8");
}

TEST(NumberWidgets, LookLikeAPlainTextBoxOrLabelWithTheSameText) {
    auto* plainBox = new QLineEdit;
    plainBox->setReadOnly(true);
    expectAlike<QLineEdit>(new DisplayBox({}), plainBox);

    expectAlike<QLabel>(new NumberLabel, new QLabel);
}

}  // namespace
