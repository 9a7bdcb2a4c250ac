#pragma once

#include <QString>

#include "board/board_failure.h"

// The exit statuses of tolvane-cli, which scripts test.
enum ExitStatus : int {
    ExitDone = 0,
    ExitUsage = 1,     // the command line is wrong, or the file it names cannot be written
    ExitNoBoard = 2,   // no board, or no permission to open it
    ExitChip = 3,      // the chip did not acknowledge, or a read-back differs from what was written
    ExitLinkLost = 4,  // the board stopped answering
};

// Why a command stopped: its exit status and the one line standard error gets.
struct Failure {
    Failure(ExitStatus status, QString message) : status(status), message(std::move(message)) {}
    // Implicit: every failure of the board is the tool's, with the status scripts know it by.
    Failure(const BoardFailure& failure);

    ExitStatus status = ExitDone;
    QString message;
};
