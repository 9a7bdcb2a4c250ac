#pragma once

#include <optional>

#include "cli/board_session.h"
#include "cli/cli.h"

// Takes readings on a fixed schedule, reading k at start + k x interval, and writes each as a CSV row
// the moment it is taken. Rows written stay when the link is lost or the user stops it.
std::optional<Failure> collect(const CollectCommand& command, BoardSession& board, CliSystem& system);
