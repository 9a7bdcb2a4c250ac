#include "tests/support/user_input.h"

#include <qpa/qwindowsysteminterface.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QWindow>

namespace {

using Queued = QWindowSystemInterface::AsynchronousDelivery;

void queueMouse(QWindow* window, QPointF at, Qt::MouseButtons held, QEvent::Type type) {
    QWindowSystemInterface::handleMouseEvent<Queued>(window, at, window->mapToGlobal(at), held,
                                                     Qt::LeftButton, type);
}

void queueKey(Qt::Key key, Qt::KeyboardModifiers modifiers, const QString& text) {
    QWindow* window = QGuiApplication::focusWindow();
    QWindowSystemInterface::handleKeyEvent<Queued>(window, QEvent::KeyPress, key, modifiers, text);
    QWindowSystemInterface::handleKeyEvent<Queued>(window, QEvent::KeyRelease, key, modifiers, text);
}

// The middle of what the user sees of the control; on a check box or an option, its box, which takes
// the click wherever the layout has stretched the control.
QPoint whereToClick(QWidget* widget) {
    const QRect seen = widget->visibleRegion().boundingRect();
    const bool option = qobject_cast<QRadioButton*>(widget) != nullptr;
    if (!option && !qobject_cast<QCheckBox*>(widget)) return seen.center();
    const int box =
        widget->style()->pixelMetric(option ? QStyle::PM_ExclusiveIndicatorWidth : QStyle::PM_IndicatorWidth);
    return {seen.left() + box / 2 + 1, seen.center().y()};
}

}  // namespace

void click(QWidget* widget) {
    click(widget, whereToClick(widget));
}

void click(QWidget* widget, QPoint at) {
    pressAndRelease(widget, at, at);
}

void pressAndRelease(QWidget* widget, QPoint pressAt, QPoint releaseAt) {
    QWidget* top = widget->window();
    top->activateWindow();
    QWindow* window = top->windowHandle();
    queueMouse(window, widget->mapTo(top, pressAt), Qt::LeftButton, QEvent::MouseButtonPress);
    queueMouse(window, widget->mapTo(top, releaseAt), Qt::NoButton, QEvent::MouseButtonRelease);
    QCoreApplication::processEvents();
}

void type(const QString& text) {
    for (QChar c : text)
        queueKey(static_cast<Qt::Key>(c.isLetter() ? c.toUpper().unicode() : c.unicode()), Qt::NoModifier, c);
    QCoreApplication::processEvents();
}

void press(std::initializer_list<QKeyCombination> keys) {
    for (QKeyCombination key : keys) {
        const Qt::Key code = key.key();
        const bool plain = key.keyboardModifiers() == Qt::NoModifier;
        const QString text = !plain                   ? QString()
                             : code == Qt::Key_Return ? QStringLiteral("\r")
                             : code == Qt::Key_Space  ? QStringLiteral(" ")
                                                      : QString();
        queueKey(code, key.keyboardModifiers(), text);
    }
    QCoreApplication::processEvents();
}

void typeAndEnter(QLineEdit* box, const QString& text) {
    click(box);
    press({Qt::CTRL | Qt::Key_A});
    type(text);
    press({Qt::Key_Return});
}

// A panel along the bottom, as desktops have, takes 40 pixels of the height.
ScreenSize::ScreenSize(int width, int height) {
    QScreen* screen = QGuiApplication::primaryScreen();
    before_ = screen->geometry();
    beforeAvailable_ = screen->availableGeometry();
    QWindowSystemInterface::handleScreenGeometryChange(screen, QRect(0, 0, width, height),
                                                       QRect(0, 0, width, height - 40));
    QCoreApplication::processEvents();
}

ScreenSize::~ScreenSize() {
    QWindowSystemInterface::handleScreenGeometryChange(QGuiApplication::primaryScreen(), before_,
                                                       beforeAvailable_);
    QCoreApplication::processEvents();
}
