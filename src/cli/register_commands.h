#pragma once

#include <optional>
#include <ostream>

#include "board/board_session.h"
#include "cli/command_line.h"

// The commands that list boards and read and write the chip's registers. Each prints what it found
// to `out`; the failure it returns goes to standard error.

std::optional<Failure> listBoards(const BoardsCommand& command, BoardSession& board, std::ostream& out,
                                  std::ostream& err);
std::optional<Failure> readRegisters(const ReadCommand& command, BoardSession& board, std::ostream& out);
std::optional<Failure> writeRegister(const WriteCommand& command, BoardSession& board, std::ostream& out);
std::optional<Failure> setFields(const SetCommand& command, BoardSession& board, std::ostream& out,
                                 std::ostream& err);
std::optional<Failure> clearInterrupt(BoardSession& board);
