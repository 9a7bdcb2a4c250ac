#pragma once

#include <functional>

// Ends the program at once. The real one never returns; a test's double records the request and
// returns, so callers check requested() where carrying on would do visible work.
class ProgramExit {
public:
    virtual ~ProgramExit() = default;
    virtual void exitProgram() = 0;
    bool requested() const { return requested_; }

protected:
    bool requested_ = false;
};

class ProcessExit final : public ProgramExit {
public:
    // Runs before the process ends (closing board handles, for one).
    std::function<void()> beforeExit;
    [[noreturn]] void exitProgram() override;
};
