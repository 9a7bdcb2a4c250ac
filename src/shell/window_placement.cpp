#include "shell/window_placement.h"

#include <algorithm>

QRect panelGeometry(QSize fullSize, QRect available, WindowFrame frame) {
    return {available.topLeft(), fullSize.boundedTo(available.size() - frame.around())};
}

CompanionPlace companionPlace(QRect panelFrame, QRect runControls, QSize minimum, QSize preferred,
                              QRect available, WindowFrame frame) {
    const QSize around = frame.around();
    const int room = available.right() - panelFrame.right() - around.width();
    if (room >= minimum.width()) {
        const int width = std::clamp(preferred.width(), minimum.width(), room);
        return {{panelFrame.right() + 1, available.top()}, {width, available.height() - around.height()}};
    }
    const QRect spare(QPoint(panelFrame.left() + frame.border, runControls.top()),
                      QPoint(runControls.left() - 1, panelFrame.bottom()));
    const QRect over = spare.intersected(available);
    const int width = std::max(std::min(preferred.width(), over.width() - around.width()), minimum.width());
    const int height = std::max(over.height() - around.height(), minimum.height());
    // A window taller than the part it covers rises over what lies above the part, not off the screen.
    const int top =
        std::max(std::min(over.top(), available.bottom() + 1 - height - around.height()), available.top());
    return {{over.left(), top}, {width, height}, true};
}
