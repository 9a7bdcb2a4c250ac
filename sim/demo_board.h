#pragma once

#include "sim/light_source.h"
#include "sim/sim_bus.h"

namespace sim {

// The light the demo starts under: about 110 to 330 lux over 20 s, a quarter of it infrared, with a
// little noise. On the 1k range the count stays inside the chart's starting scale of 25000.
LightSetting demoLight();
inline constexpr std::uint32_t kDemoLightSeed = 2019;

// The board the demo program runs on: one evaluation board under the demo's light, `shiftMs` ahead in
// the light's cycle, listing `serial`.
SimBoard& addDemoBoard(SimBus& bus, std::string serial = {}, std::uint32_t shiftMs = 0);

}  // namespace sim
