#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the windows open. Sizes are of the windows' insides, positions of their frames' top left
// corners, as Qt moves a window.

// What a window manager adds around a window's inside. Without a window manager there is nothing, and
// a window placed for a frame it does not get covers less than it was given, never more.
struct WindowFrame {
    int titleBar = 0;
    int border = 0;  // on each of the other three sides

    QSize around() const { return {2 * border, titleBar + border}; }
};

// The panel at its full size wherever the screen's available area holds it, else as much of it as the
// area holds (the panel scrolls then); at the area's top left, so the area's width is all there is.
QRect panelGeometry(QSize fullSize, QRect available, WindowFrame frame);

struct CompanionPlace {
    QPoint position;
    QSize size;
    bool overPanel = false;  // the panel must keep it above itself, or its controls are out of reach
};

// A companion window (the demo's board window) goes beside the panel where the area has room for it at
// its narrowest, as wide as it likes up to that room and as tall as the area. Where there is no such
// room it goes over the panel left of the panel's run controls (all on the screen), from their top
// down: as wide as it likes within that part, and never below the area's bottom.
CompanionPlace companionPlace(QRect panelFrame, QRect runControls, QSize minimum, QSize preferred,
                              QRect available, WindowFrame frame);
