#include "sim/demo_board.h"

#include <utility>

namespace sim {

LightSetting demoLight() {
    return {220, LightSetting::Shape::Wave, 0.25, 3};
}

SimBoard& addDemoBoard(SimBus& bus, std::string serial, std::uint32_t shiftMs) {
    SimBoard& board = bus.addBoard(std::move(serial));
    board.chip.setLight(LightSource::shaped(demoLight(), kDemoLightSeed).shiftedBy(shiftMs));
    return board;
}

}  // namespace sim
