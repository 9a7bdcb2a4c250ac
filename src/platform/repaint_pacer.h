#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "platform/clock.h"

class QWidget;

// Repaints a window at most once per display frame. Handlers that run hundreds of times a second (the
// collection loop at short intervals lets events run after every read) would otherwise repaint the
// window for each of them, though no screen shows more than a frame every 16 ms. A repaint asked for
// within a frame of the last one waits for that frame's end; nothing asked for is ever dropped.
class RepaintPacer : public QObject {
    Q_OBJECT
public:
    static constexpr std::uint32_t kFrameMs = 16;

    RepaintPacer(QWidget& window, Clock& clock);

    bool repaintWaiting() const { return frameEnd_.isActive(); }
    // The frame is over: the repaint that waited for it goes ahead.
    void frameDue();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget& window_;
    Clock& clock_;
    QTimer frameEnd_;
    std::uint32_t lastRepaintMs_ = 0;
    bool repainted_ = false;
};
