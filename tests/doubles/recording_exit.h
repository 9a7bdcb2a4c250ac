#pragma once

#include "platform/program_exit.h"

// Records the end and returns, so a test sees the program end and carries on.
class RecordingExit final : public ProgramExit {
public:
    int count = 0;

protected:
    void end() override { ++count; }
};
