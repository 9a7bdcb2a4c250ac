#pragma once

#include <optional>
#include <vector>

#include "board/board_session.h"
#include "cli/cli.h"

// The readings of the command's run (reading k at start + k x interval), each written as a CSV row the
// moment it is taken. Rows written stay when the link is lost or the user stops it.
std::optional<Failure> collect(const CollectCommand& command, BoardSession& board, CliSystem& system);

// The same from several boards on one schedule, reading k of every board due at the same instant, each
// board on a thread of its own, into one CSV whose first column names the board (its serial number,
// else its path), rows in the order they were taken. A board lost has its line on standard error and
// the others go on to the end; the status is then the lost board's.
std::optional<Failure> collectFromBoards(const CollectCommand& command,
                                         const std::vector<BoardSession*>& boards, CliSystem& system);
