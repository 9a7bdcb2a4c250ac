#include "platform/repaint_pacer.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

RepaintPacer::RepaintPacer(QWidget& window, Clock& clock) : QObject(&window), window_(window), clock_(clock) {
    frameEnd_.setSingleShot(true);
    connect(&frameEnd_, &QTimer::timeout, this, &RepaintPacer::frameDue);
    window.installEventFilter(this);
}

bool RepaintPacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_ || event->type() != QEvent::UpdateRequest) return false;
    if (frameEnd_.isActive()) return true;  // already waiting for this frame's end
    const std::uint32_t now = clock_.milliseconds();
    const std::uint32_t sinceLast = now - lastRepaintMs_;
    if (!repainted_ || sinceLast >= kFrameMs) {
        repainted_ = true;
        lastRepaintMs_ = now;
        return false;
    }
    // Qt asks once until it has repainted: the request is made again when the frame ends.
    frameEnd_.start(static_cast<int>(kFrameMs - sinceLast));
    return true;
}

void RepaintPacer::frameDue() {
    frameEnd_.stop();
    repainted_ = false;
    QCoreApplication::postEvent(&window_, new QEvent(QEvent::UpdateRequest), Qt::LowEventPriority);
}
