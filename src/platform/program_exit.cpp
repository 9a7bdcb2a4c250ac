#include "platform/program_exit.h"

#include <cstdio>
#include <cstdlib>

void ProgramExit::exitProgram() {
    if (requested_) return;
    requested_ = true;
    if (beforeEnd) beforeEnd();
    end();
}

void ProcessExit::end() {
    std::fflush(nullptr);
    std::_Exit(0);
}
