#pragma once

#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>

#include "boardlink/hid_transport.h"
#include "platform/clock.h"

// The simulated evaluation boards for programs without windows (tolvane-cli --demo, one board, or
// --demo-boards N), with their realistic timing and the demo's moving light, each board a quarter of the
// light's cycle behind the one before, or a constant light of `lightLux`. They list serial numbers DEMO-1,
// DEMO-2, ... A real board keeps its registers, and goes on measuring, from one run of a program to the
// next while it stays plugged in; these keep their registers and the time in small files
// (~/.cache/tolvane-cli/demo-board, demo-board-2, ...: "R0..R7 in hexadecimal, the clock"), so that
// what a script sets holds for the collect after it, and a pause in between is one for the chips too.
class DemoBoard {
public:
    DemoBoard(Clock& clock, std::optional<double> lightLux, int boards = 1);
    ~DemoBoard();
    DemoBoard(const DemoBoard&) = delete;
    DemoBoard& operator=(const DemoBoard&) = delete;

    // Keeps the boards' registers and the time in their files, as the destructor does unless this came
    // first; why not, when a file cannot be written ("Cannot keep ... in PATH: Is a directory.").
    std::optional<QString> keepRegisters();

    // The bus of all of them; each board may be used from a thread of its own.
    HidTransport& transport();
    // The file board `board` (from 1) keeps its registers and the time in; board 1 is the one --demo uses,
    // each other board has a file of its own.
    static QString statePath(int board = 1);
    // Claims the simulated boards for one program: their files are shared, and two programs using them
    // at once would each overwrite them with their own. None while another holds them; a null lock when
    // there is no folder to keep the files in, and so nothing to share.
    static std::optional<std::unique_ptr<QLockFile>> claim();

private:
    struct Parts;  // the simulated bus and what it runs on
    std::unique_ptr<Parts> parts_;
};
