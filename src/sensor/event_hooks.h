#pragma once

#include <QObject>
#include <functional>

class QWidget;

// The panel's key and mouse-release handlers, hooked onto Qt widgets without subclassing them.

// Calls `handler` with the key's character code (13 for Enter) before the widget sees the key.
// The key still reaches the widget afterwards.
void onKeyPress(QWidget* widget, std::function<void(int)> handler);

// Calls `handler` when a mouse button is released over `widget`.
void onMouseUp(QWidget* widget, std::function<void()> handler);
