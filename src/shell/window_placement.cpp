#include "shell/window_placement.h"

QRect panelGeometry(QSize fullSize, QRect available, int titleBar) {
    const QSize room(available.width(), available.height() - titleBar);
    return {available.topLeft(), fullSize.boundedTo(room)};
}

QPoint companionPosition(QRect panelFrame, QSize companionFrame, QRect available) {
    const int beside = panelFrame.right() + 1;
    const int x = beside + companionFrame.width() <= available.right() + 1
                      ? beside
                      : available.right() + 1 - companionFrame.width();
    return {x, available.top()};
}
