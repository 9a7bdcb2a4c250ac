// tolvane-cli: the board from scripts. All of the tool is runCli(); this file hands it the real
// outside world: the boards through hidapi or the simulated one, the clocks, the streams, Ctrl-C.
#include <unistd.h>

#include <QCoreApplication>
#include <csignal>
#include <iostream>
#include <optional>

#include "board/demo_board.h"
#include "board/precise_wait.h"
#include "boardlink/hidapi_transport.h"
#include "cli/cli.h"
#include "cli/outcome.h"

namespace {

// Set by Ctrl-C; collect ends after the row it is taking. A signal handler can reach nothing else.
volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int /*signal*/) {
    interrupted = 1;
}

void catchInterrupt() {
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    // A second Ctrl-C ends the program at once, should a board keep it waiting.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    catchInterrupt();
    SteadyClock clock;
    PreciseWait wait;
    SystemCalendar calendar;
    std::optional<HidapiTransport> boards;
    std::unique_ptr<QLockFile> claim;  // goes after the simulated boards, which keep their registers first
    std::optional<DemoBoard> demo;
    CliSystem system{[&](const BoardOptions& options) -> HidTransport* {
                         if (!options.demo) return &boards.emplace();
                         std::optional<std::unique_ptr<QLockFile>> claimed = DemoBoard::claim();
                         if (!claimed) return nullptr;
                         claim = std::move(*claimed);
                         return &demo.emplace(clock, options.lightLux, options.demoBoards).transport();
                     },
                     clock,
                     wait,
                     calendar,
                     std::cout,
                     std::cerr,
                     isatty(STDERR_FILENO) == 1,
                     [] { return interrupted != 0; }};
    system.outDescriptor = STDOUT_FILENO;
    int status = runCli(QCoreApplication::arguments().mid(1), system);
    // What a script set must hold for the next run: a register file not written is a failure of its own.
    if (const std::optional<QString> unkept = demo ? demo->keepRegisters() : std::nullopt) {
        std::cerr << "tolvane-cli: " << unkept->toStdString() << '\n';
        if (status == ExitDone) status = ExitUsage;
    }
    return status;
}
