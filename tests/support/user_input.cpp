#include "tests/support/user_input.h"

#include <qpa/qwindowsysteminterface.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QWheelEvent>
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

// The pointer's gestures carry their own times, a second apart, so that no two of them ever make a
// double-click by chance (the window system judges one by the times of the presses).
class Gesture {
public:
    explicit Gesture(QWidget* widget) : widget_(widget), window_(widget->window()->windowHandle()) {
        static ulong last = 1'000'000;
        time_ = last += 1000;
        widget->window()->activateWindow();
    }
    ~Gesture() { QCoreApplication::processEvents(); }
    Gesture(const Gesture&) = delete;
    Gesture& operator=(const Gesture&) = delete;

    void mouse(QPoint at, Qt::MouseButtons held, QEvent::Type type) {
        const QPointF local = widget_->mapTo(widget_->window(), at);
        QWindowSystemInterface::handleMouseEvent<Queued>(
            window_, time_ += 10, local, window_->mapToGlobal(local), held, Qt::LeftButton, type);
    }
    void click(QPoint at) {
        mouse(at, Qt::LeftButton, QEvent::MouseButtonPress);
        mouse(at, Qt::NoButton, QEvent::MouseButtonRelease);
    }
    void wheel(QPoint at, int notches) {
        const QPointF local = widget_->mapTo(widget_->window(), at);
        QWindowSystemInterface::handleWheelEvent(window_, time_ += 10, local, window_->mapToGlobal(local), {},
                                                 {0, notches * QWheelEvent::DefaultDeltasPerStep});
    }

private:
    QWidget* widget_;
    QWindow* window_;
    ulong time_;
};

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

void movePointer(QWidget* widget, QPoint at) {
    Gesture(widget).mouse(at, Qt::NoButton, QEvent::MouseMove);
}

void drag(QWidget* widget, QPoint from, QPoint to) {
    Gesture gesture(widget);
    gesture.mouse(from, Qt::LeftButton, QEvent::MouseButtonPress);
    gesture.mouse((from + to) / 2, Qt::LeftButton, QEvent::MouseMove);
    gesture.mouse(to, Qt::LeftButton, QEvent::MouseMove);
    gesture.mouse(to, Qt::NoButton, QEvent::MouseButtonRelease);
}

void doubleClick(QWidget* widget, QPoint at) {
    Gesture gesture(widget);
    gesture.click(at);
    gesture.click(at);
}

void wheel(QWidget* widget, QPoint at, int notches) {
    Gesture(widget).wheel(at, notches);
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
