#pragma once

#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "board/board_session.h"
#include "cli/cli.h"

// The boards --board chooses (indices, paths, serial numbers, or "all": every board that opens), each
// opened in a session of its own on the one transport, in the order chosen. A board chosen twice is a
// usage error: two threads would take turns on its wire.
std::optional<Failure> openBoards(const QStringList& choices, HidTransport& transport, CliSystem& system,
                                  std::vector<std::unique_ptr<BoardSession>>& sessions);
