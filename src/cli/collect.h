#pragma once

#include <optional>

#include "board/board_session.h"
#include "cli/cli.h"

// The readings of the command's run (reading k at start + k x interval), each written as a CSV row the
// moment it is taken. Rows written stay when the link is lost or the user stops it.
std::optional<Failure> collect(const CollectCommand& command, BoardSession& board, CliSystem& system);
