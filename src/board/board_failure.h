#pragma once

#include <QString>

// What went wrong, for a program to act on (tolvane-cli's exit status, the Python module's exception).
enum class BoardFault {
    NoBoard,          // none listed, or not the one asked for
    NoPermission,     // listed, but the system will not let us open it
    NotAcknowledged,  // the chip did not answer on its address
    ReadBackDiffers,  // a register holds other than was written to it
    LinkLost,         // the board stopped answering, or was unplugged
};

// A board operation's failure: its kind, and one line saying why, for the user.
struct BoardFailure {
    BoardFault fault;
    QString message;
};
