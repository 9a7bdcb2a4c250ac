#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "boardlink/board_link.h"
#include "cli/outcome.h"
#include "cli/tool_services.h"

// The board the tool talks to, and the chip on it reached as the console reaches it: one report out
// and one in per transfer, the same bytes on the wire.
class BoardSession {
public:
    BoardSession(HidTransport& transport, Clock& clock, DueTimeWait& wait, Calendar& calendar);
    ~BoardSession();
    BoardSession(const BoardSession&) = delete;
    BoardSession& operator=(const BoardSession&) = delete;

    // Finds and opens every board; fails when none is listed.
    std::optional<Failure> search();
    const std::vector<BoardLink::ListedBoard>& listed() const { return link_.listedBoards(); }
    // Finds the boards and makes the chosen one current: empty for the first, an index or a path as
    // `boards` lists them.
    std::optional<Failure> open(const QString& choice);

    // R[first] .. R[first + count - 1] in one transfer.
    std::optional<Failure> read(std::uint8_t first, std::uint8_t count, std::vector<std::uint8_t>& values);
    // One byte to a register or a command address.
    std::optional<Failure> write(std::uint8_t address, std::uint8_t value);

private:
    std::optional<Failure> judged(std::int16_t result) const;

    ToolServices services_;
    BoardLink link_;
};
