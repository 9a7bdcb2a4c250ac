#include "platform/repaint_pacer.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

RepaintPacer::RepaintPacer(QWidget& window, Clock& clock) : QObject(&window), window_(window), clock_(clock) {
    frameEnd_.setSingleShot(true);
    frameEnd_.setInterval(static_cast<int>(kFrameMs));
    connect(&frameEnd_, &QTimer::timeout, this, &RepaintPacer::frameDue);
    connect(QAbstractEventDispatcher::instance(window.thread()), &QAbstractEventDispatcher::aboutToBlock,
            this, &RepaintPacer::eventsIdle);
    window.installEventFilter(this);
}

bool RepaintPacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &window_ || event->type() != QEvent::UpdateRequest) return false;
    if (released_) {
        released_ = false;
        repainted_ = true;
        lastRepaintMs_ = clock_.milliseconds();
        return false;
    }
    // Qt asks once until it has repainted: the request is made again when it may go ahead.
    if (!waiting_) {
        waiting_ = true;
        frameEnd_.start();
    }
    return true;
}

void RepaintPacer::eventsIdle() {
    if (waiting_ && (!repainted_ || clock_.milliseconds() - lastRepaintMs_ >= kFrameMs)) frameDue();
}

void RepaintPacer::frameDue() {
    frameEnd_.stop();
    waiting_ = false;
    released_ = true;
    // Sent, not posted: the thread is idle or at the frame's end, and a posted request would wake the event
    // loop once more only to repaint.
    QEvent request(QEvent::UpdateRequest);
    QCoreApplication::sendEvent(&window_, &request);
}
