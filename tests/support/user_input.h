#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <Qt>
#include <initializer_list>

class QLineEdit;
class QWidget;

// The user's hand, as the window system delivers it: each gesture is queued whole (a click's press and
// its release, a key's press and release) before the program sees its first event, so a handler that
// lets events run while the press is delivered meets the release already waiting, as on a real desktop.
// The control's window must be shown.

// Presses and releases the left button over the visible middle of `widget` (the part a scroll area
// shows), then lets the program handle it.
void click(QWidget* widget);
// The same at a point of the widget.
void click(QWidget* widget, QPoint at);
// Presses over one point of the widget and releases over another (a click the user takes back).
void pressAndRelease(QWidget* widget, QPoint pressAt, QPoint releaseAt);

// Presses and releases keys in the window that has the keyboard focus, all queued before the program
// handles the first: each character of `text`, or the keys named (Backspace, Tab, Space, Return,
// Qt::CTRL | Qt::Key_A...).
void type(const QString& text);
void press(std::initializer_list<QKeyCombination> keys);
// Clicks into a box, selects what it holds, types `text` over it and presses Enter.
void typeAndEnter(QLineEdit* box, const QString& text);

// The screen the windows open on, as the window system reports it, for the life of the object.
class ScreenSize {
public:
    ScreenSize(int width, int height);
    ~ScreenSize();
    ScreenSize(const ScreenSize&) = delete;
    ScreenSize& operator=(const ScreenSize&) = delete;

private:
    QRect before_;
    QRect beforeAvailable_;
};
