#pragma once

#include <QPoint>
#include <QRect>
#include <QString>
#include <Qt>
#include <initializer_list>

class QLineEdit;
class QWidget;

// The user's hand, as the window system delivers it: each gesture (a click's press and release, a key's
// press and release) is queued whole before the program sees its first event, as on a real desktop.
// The control's window must be shown.
// Presses and releases the left button over the visible middle of `widget`, or at a point of it.
void click(QWidget* widget);
void click(QWidget* widget, QPoint at);
// Presses over one point of the widget and releases over another (a click the user takes back).
void pressAndRelease(QWidget* widget, QPoint pressAt, QPoint releaseAt);
// Moves the pointer over a point of the widget, no button held.
void movePointer(QWidget* widget, QPoint at);
// Presses over one point, moves to another with the button held, releases there.
void drag(QWidget* widget, QPoint from, QPoint to);
// Two clicks at a point in quick succession.
void doubleClick(QWidget* widget, QPoint at);
// Turns the wheel over a point of the widget by `notches` (positive: away from the user).
void wheel(QWidget* widget, QPoint at, int notches);
// Keys in the window with the focus: each character of `text`, or the keys named (Qt::CTRL | Qt::Key_A).
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
    QRect before_, beforeAvailable_;
};
