#pragma once

#include "boardlink/hid_transport.h"
#include "platform/clock.h"

// Runs one program on the given board transport until it ends. Needs a QApplication.
int runProgram(HidTransport& transport, Clock& clock);
