#include "platform/due_time_wait.h"

#include <QEventLoop>
#include <QTimer>

void EventLoopWait::waitUntil(std::uint32_t deadlineMs) {
    const auto remaining = static_cast<std::int32_t>(deadlineMs - clock_.milliseconds());
    if (remaining <= 0) return;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(remaining);
    QEventLoop* const outer = waiting_;
    waiting_ = &loop;
    loop.exec();
    waiting_ = outer;
}

void EventLoopWait::wake() {
    if (waiting_) waiting_->quit();
}
