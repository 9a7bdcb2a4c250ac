#include "sim/demo_board.h"

namespace sim {

LightSetting demoLight() {
    return {220, LightSetting::Shape::Wave, 0.25, 3};
}

SimBoard& addDemoBoard(SimBus& bus) {
    SimBoard& board = bus.addBoard();
    board.chip.setLight(LightSource::shaped(demoLight(), kDemoLightSeed));
    return board;
}

}  // namespace sim
