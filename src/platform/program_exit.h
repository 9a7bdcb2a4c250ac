#pragma once

#include <functional>

// Ends the program at once. The real one never returns; the test double records the request and
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

class RecordingExit final : public ProgramExit {
public:
    void exitProgram() override {
        requested_ = true;
        ++count;
    }
    int count = 0;
};
