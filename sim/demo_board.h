#pragma once

#include "sim/sim_bus.h"

namespace sim {

// The board the demo program runs on: one evaluation board under a slowly changing light level.
SimBoard& addDemoBoard(SimBus& bus);

}  // namespace sim
