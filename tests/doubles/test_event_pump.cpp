#include "tests/doubles/test_event_pump.h"

void TestEventPump::processEvents() {
    ++count_;
    EventPump::processEvents();
    if (meanwhile) meanwhile();
}
