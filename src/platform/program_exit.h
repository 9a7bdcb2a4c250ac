#pragma once

#include <functional>

// Ends the program. The real one never returns; a test's double records the request and returns, so
// callers check requested() where carrying on would do visible work.
class ProgramExit {
public:
    virtual ~ProgramExit() = default;
    // Runs `beforeEnd`, then ends at once. A request made while `beforeEnd` runs (its boxes let events
    // run) only returns: the program is on its way out already.
    void exitProgram();
    bool requested() const { return requested_; }

    // What the program does on its way out, whichever way it leaves: the owner of the windows offers
    // the unsaved readings and closes the boards here.
    std::function<void()> beforeEnd;

protected:
    virtual void end() = 0;

private:
    bool requested_ = false;
};

class ProcessExit final : public ProgramExit {
protected:
    [[noreturn]] void end() override;
};
