#pragma once

#include <functional>

// Lets pending window events run from inside a handler. Tests can hook in to act "meanwhile".
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents();

    int count() const { return count_; }
    // Runs on every processEvents(), after Qt's own events; used by tests to simulate a user acting
    // while a handler waits.
    std::function<void()> meanwhile;

private:
    int count_ = 0;
};
