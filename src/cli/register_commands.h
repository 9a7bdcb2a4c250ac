#pragma once

#include <optional>
#include <ostream>
#include <vector>

#include "board/board_session.h"
#include "cli/command_line.h"

// The commands that list boards and read and write the chip's registers. Each prints what it found
// to `out`; the failure it returns goes to standard error.

std::optional<Failure> listBoards(const BoardsCommand& command, BoardSession& board, std::ostream& out,
                                  std::ostream& err);
// read, write, set or clear-interrupt on one board: "R0 80" a line, or one JSON object.
std::optional<Failure> onBoard(const Command& command, BoardSession& board, std::ostream& out,
                               std::ostream& err);
// The same on each board in turn, each board's lines under its name ("DEMO-1:"), or one JSON array of
// an object a board naming it ("board"), with "error" where it failed. A board that fails has its line on
// `err` and the others go on; the first failure's status is returned.
std::optional<Failure> onEachBoard(const Command& command, const std::vector<BoardSession*>& boards,
                                   std::ostream& out, std::ostream& err);
