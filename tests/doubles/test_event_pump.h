#pragma once

#include <functional>

#include "platform/event_pump.h"

// The real event processing, counted, with a hook through which a test acts while a handler waits.
class TestEventPump final : public EventPump {
public:
    void processEvents() override;
    int count() const { return count_; }
    std::function<void()> meanwhile;

private:
    int count_ = 0;
};
