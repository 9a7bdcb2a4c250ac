#include "platform/event_pump.h"

#include <QCoreApplication>

void EventPump::processEvents() {
    ++count_;
    QCoreApplication::processEvents();
    if (meanwhile) meanwhile();
}
