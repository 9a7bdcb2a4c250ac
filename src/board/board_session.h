#pragma once

#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "board/board_failure.h"
#include "board/windowless_services.h"
#include "boardlink/board_link.h"
#include "chip/field_changes.h"

// Registers as read: R[first], R[first + 1], ...
struct Registers {
    int first = 0;
    std::vector<std::uint8_t> values;
};

// What a register operation leaves: the registers it read (none when a transfer failed), and why it
// failed, if it did. A write whose read-back differs has both: what the chip holds is worth showing.
struct RegisterOutcome {
    Registers registers;
    std::optional<BoardFailure> failure;
};

// One evaluation board and the chip on it, for a program without windows. The chip is reached as the
// console reaches it: one report out and one in per transfer, the same bytes on the wire. Each
// operation blocks until the board has answered (up to 6 s a transfer), calls nothing back, and
// returns its outcome. A session shares nothing with another: give each its own transport, and two
// boards can be used from two threads at once.
class BoardSession {
public:
    BoardSession(HidTransport& transport, Clock& clock, DueTimeWait& wait, Calendar& calendar);
    ~BoardSession();
    BoardSession(const BoardSession&) = delete;
    BoardSession& operator=(const BoardSession&) = delete;

    // Finds and opens every board; fails when none is listed.
    std::optional<BoardFailure> search();
    const std::vector<BoardLink::ListedBoard>& listed() const { return link_.listedBoards(); }
    // Finds the boards and makes the chosen one current: empty for the first that opens, else an index
    // or a path as listed() gives them.
    std::optional<BoardFailure> open(const QString& choice);

    // R[first] .. R[first + count - 1] in one transfer.
    RegisterOutcome read(std::uint8_t first, std::uint8_t count);
    // Writes one of R0..R3 and reads it back.
    RegisterOutcome write(std::uint8_t reg, std::uint8_t value);
    // Changes only the named fields: reads R0..R3, writes each register a named field is in, and reads
    // R0..R3 back.
    RegisterOutcome set(const FieldChanges& changes);
    // The chip's clear-interrupt command, whose data byte is R0 as the chip holds it (as the panel
    // sends it).
    std::optional<BoardFailure> clearInterrupt();

    // The clock, due-time wait and calendar the session was given.
    Services& services() { return services_.services; }

private:
    // One byte to a register or a command address.
    std::optional<BoardFailure> send(std::uint8_t address, std::uint8_t value);

    WindowlessServices services_;
    BoardLink link_;
};
