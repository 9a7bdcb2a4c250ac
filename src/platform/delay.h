#pragma once

#include "platform/services.h"

// Waits the given number of seconds in 4 ms sleeps, letting window events run in between.
void Delay(Clock& clock, EventPump& events, double seconds);
