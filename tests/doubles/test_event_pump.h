#pragma once

#include <functional>

#include "platform/event_pump.h"

// The real event processing, counted, with a hook that runs after Qt's own events: a test acts
// "meanwhile", as a user would while a handler waits.
class TestEventPump final : public EventPump {
public:
    void processEvents() override;

    int count() const { return count_; }
    std::function<void()> meanwhile;

private:
    int count_ = 0;
};
