#pragma once

#include "platform/program_exit.h"

// Records the request and returns, so a test sees the program end and carries on.
class RecordingExit final : public ProgramExit {
public:
    void exitProgram() override {
        requested_ = true;
        ++count;
    }
    int count = 0;
};
