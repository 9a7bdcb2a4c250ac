#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Key, mouse-release and focus handlers in the program's own terms, hooked onto Qt widgets without
// subclassing them.

// Calls `handler` with the key's character code (13 for Enter) before the widget sees the key.
// The key still reaches the widget afterwards.
void onKeyPress(QWidget* widget, std::function<void(int)> handler);

// Calls `handler` when a mouse button is released over `widget`.
void onMouseUp(QWidget* widget, std::function<void()> handler);

// Calls `handler` when keyboard focus moves from `widget` to another control. Focus that leaves with
// the whole window (another window or a message box comes to the front) does not count.
void onFocusOut(QWidget* widget, std::function<void()> handler);
