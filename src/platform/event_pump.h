#pragma once

// Lets pending window events run from inside a handler. Virtual so that tests can count the calls
// and act while a handler waits.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents();
};
