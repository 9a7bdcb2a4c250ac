#pragma once

#include <QEventLoop>

// Lets pending window events run from inside a handler. Virtual so that tests can count the calls
// and act while a handler waits.
class EventPump {
public:
    virtual ~EventPump() = default;
    virtual void processEvents();

    // While one lives, processEvents leaves the user's clicks and keys queued. A handler that runs
    // while a press or a key is being delivered (focus leaving a box, which a press on another control
    // causes) would otherwise deliver the rest of that very click itself, before its press has reached
    // the control: the click is lost and the control stays pressed.
    class InputHeld {
    public:
        explicit InputHeld(EventPump& pump) : pump_(pump) { ++pump_.held_; }
        ~InputHeld() { --pump_.held_; }
        InputHeld(const InputHeld&) = delete;
        InputHeld& operator=(const InputHeld&) = delete;

    private:
        EventPump& pump_;
    };

protected:
    // What processEvents lets run now: everything, or everything but the user's input while it is held.
    QEventLoop::ProcessEventsFlags allowed() const {
        return held_ > 0 ? QEventLoop::ExcludeUserInputEvents : QEventLoop::AllEvents;
    }

private:
    int held_ = 0;
};
