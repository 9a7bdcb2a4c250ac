#include "sim/demo_board.h"

namespace sim {

SimBoard& addDemoBoard(SimBus& bus) {
    SimBoard& board = bus.addBoard();
    // About 150 to 650 lux over 20 s, a quarter of it infrared, with a little noise.
    board.chip.setLight(LightSource::wave(400, 250, 20000, 4, 2019));
    return board;
}

}  // namespace sim
