#pragma once

#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

#include "board/board_session.h"

// The boards `choices` name (indices, paths, serial numbers, or "all" alone: every board that opens),
// each opened in a session of its own on the one transport, in the order chosen. A board chosen twice is
// a BadChoice: two threads would take turns on its wire.
std::optional<BoardFailure> openBoards(const QStringList& choices, HidTransport& transport, Clock& clock,
                                       DueTimeWait& wait, Calendar& calendar,
                                       std::vector<std::unique_ptr<BoardSession>>& sessions);
