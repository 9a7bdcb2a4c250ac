#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "sim/sim_board.h"

// The last `count` reports of a board's two logs in the order they happened, one line each: seconds
// since `originMs`, "->" for a report the board received or "<-" for one that reached the host, and
// the 64 bytes in hexadecimal.
QString reportLogText(const sim::SimBoard& board, std::uint32_t originMs, std::size_t count);
