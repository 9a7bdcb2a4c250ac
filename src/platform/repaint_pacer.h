#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>

#include "platform/clock.h"

class QWidget;

// Repaints a window when the window's thread is about to wait for events, and at most once per display
// frame. A handler that lets events run halfway through its work (the collection loop does while it
// reads the chip) would otherwise have the window repainted then and again at its end, and handlers
// that run hundreds of times a second would have it repainted for each of them, though no screen
// shows more than a frame every 16 ms. A repaint waits at most a frame; nothing asked for is dropped.
class RepaintPacer : public QObject {
    Q_OBJECT
public:
    static constexpr std::uint32_t kFrameMs = 16;

    RepaintPacer(QWidget& window, Clock& clock);

    bool repaintWaiting() const { return waiting_; }
    // The thread is about to wait: a repaint asked for goes ahead, unless the last was within a frame.
    void eventsIdle();
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
    bool waiting_ = false;
    bool released_ = false;
};
