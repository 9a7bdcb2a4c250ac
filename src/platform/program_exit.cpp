#include "platform/program_exit.h"

#include <cstdio>
#include <cstdlib>

void ProcessExit::exitProgram() {
    requested_ = true;
    if (beforeExit) beforeExit();
    std::fflush(nullptr);
    std::_Exit(0);
}
