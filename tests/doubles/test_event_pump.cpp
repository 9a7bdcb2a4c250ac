#include "tests/doubles/test_event_pump.h"

#include <qpa/qwindowsysteminterface.h>

void TestEventPump::processEvents() {
    ++count_;
    EventPump::processEvents();
    // A pass from inside a handler may leave the window system's queue for later; a desktop delivers the
    // user's input waiting there within the handler's wait, and so do we.
    if (QWindowSystemInterface::windowSystemEventsQueued() > 0)
        QWindowSystemInterface::sendWindowSystemEvents(allowed());
    if (meanwhile) meanwhile();
}
