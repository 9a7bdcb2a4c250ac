#include "platform/event_pump.h"

#include <QCoreApplication>

void EventPump::processEvents() {
    QCoreApplication::processEvents(held_ > 0 ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents);
}
