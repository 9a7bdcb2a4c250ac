#pragma once

#include <QRect>
#include <QSize>

// Where the windows open. Sizes are of the windows' insides; `titleBar` is the height the window
// manager's frame adds above them (the sides' few pixels are left to it).

// The panel at its full size wherever the screen's available area holds it, else as much of it as the
// area holds (the panel scrolls then); at the area's top left, so the area's width is all there is.
QRect panelGeometry(QSize fullSize, QRect available, int titleBar);

// A companion window (the demo's board window) beside the panel where both fit, otherwise at the
// area's right edge, over the panel's right edge: the panel is never made smaller for it.
QPoint companionPosition(QRect panelFrame, QSize companionFrame, QRect available);
