// tolvane-cli: the board from scripts. All of the tool is runCli(); this file hands it the real
// outside world: the boards through hidapi or the simulated one, the clocks, the streams, Ctrl-C.
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <csignal>
#include <iostream>
#include <optional>

#include "boardlink/hidapi_transport.h"
#include "cli/cli.h"
#include "cli/precise_wait.h"
#include "sim/demo_board.h"

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

// The simulated board of --demo. A real board keeps its registers from one run of the tool to the
// next while it stays plugged in; this one keeps them in a small file, so that what a script sets
// holds for the collect after it, and the last count stays readable until the next integration ends.
class DemoBoard {
public:
    DemoBoard(Clock& clock, std::optional<double> lightLux)
        : bus_(clock, sim::Timing::Realistic),
          board_(sim::addDemoBoard(bus_)),
          statePath_(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                     "/tolvane-cli/demo-registers") {
        if (lightLux)
            board_.chip.setLight(
                sim::LightSource::constant(*lightLux, *lightLux * sim::demoLight().infraredShare));
        QFile state(statePath_);
        const QByteArray saved =
            state.open(QIODevice::ReadOnly) ? QByteArray::fromHex(state.read(2 * kKept)) : QByteArray();
        if (saved.size() == kKept)
            for (int reg = 0; reg < kKept; ++reg)
                board_.chip.setReg(reg, static_cast<std::uint8_t>(saved[reg]));
    }
    ~DemoBoard() {
        QByteArray registers;
        for (int reg = 0; reg < kKept; ++reg) registers += static_cast<char>(board_.chip.reg(reg));
        QDir().mkpath(QFileInfo(statePath_).path());
        QSaveFile state(statePath_);
        if (state.open(QIODevice::WriteOnly)) {
            state.write(registers.toHex().toUpper() + "\n");
            state.commit();
        }
    }
    DemoBoard(const DemoBoard&) = delete;
    DemoBoard& operator=(const DemoBoard&) = delete;

    HidTransport& bus() { return bus_; }

private:
    static constexpr int kKept = 8;  // R0..R7
    sim::SimBus bus_;
    sim::SimBoard& board_;
    QString statePath_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    catchInterrupt();
    SteadyClock clock;
    PreciseWait wait(clock);
    SystemCalendar calendar;
    std::optional<HidapiTransport> boards;
    std::optional<DemoBoard> demo;
    CliSystem system{[&](const BoardOptions& options) -> HidTransport& {
                         if (options.demo) return demo.emplace(clock, options.lightLux).bus();
                         return boards.emplace();
                     },
                     clock,
                     wait,
                     calendar,
                     std::cout,
                     std::cerr,
                     isatty(STDERR_FILENO) == 1,
                     [] { return interrupted != 0; }};
    return runCli(QCoreApplication::arguments().mid(1), system);
}
