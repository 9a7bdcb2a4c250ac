#include "platform/event_pump.h"

#include <QCoreApplication>

void EventPump::processEvents() {
    QCoreApplication::processEvents(allowed());
}
