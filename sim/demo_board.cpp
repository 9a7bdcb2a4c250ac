#include "sim/demo_board.h"

namespace sim {

SimBoard& addDemoBoard(SimBus& bus) {
    SimBoard& board = bus.addBoard();
    // About 100 to 340 lux over 20 s, a quarter of it infrared, with a little noise: on the 1k range
    // the count stays inside the chart's starting scale of 25000.
    board.chip.setLight(LightSource::wave(220, 120, 20000, 3, 2019));
    return board;
}

}  // namespace sim
