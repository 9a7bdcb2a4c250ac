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

// The clock of the simulated board: held at the time the last run left the board until resume(),
// the real one from then on, so the chip catches up with what it would have measured in between.
class ResumingClock final : public Clock {
public:
    ResumingClock(Clock& real, std::optional<std::uint32_t> heldMs) : real_(real), heldMs_(heldMs) {}
    std::uint32_t milliseconds() override { return heldMs_ ? *heldMs_ : real_.milliseconds(); }
    void sleep(std::uint32_t ms) override { real_.sleep(ms); }
    void resume() { heldMs_.reset(); }

private:
    Clock& real_;
    std::optional<std::uint32_t> heldMs_;
};

// The simulated board of --demo. A real board keeps its registers, and goes on measuring, from one
// run of the tool to the next while it stays plugged in; this one keeps its registers and the time in
// a small file ("R0..R7 in hexadecimal, the clock"), so that what a script sets holds for the collect
// after it, and a pause in between is one for the chip too.
class DemoBoard {
public:
    DemoBoard(Clock& clock, std::optional<double> lightLux)
        : saved_(load()),
          clock_(clock, saved_ ? std::optional(saved_->atMs) : std::nullopt),
          bus_(clock_, sim::Timing::Realistic),
          board_(sim::addDemoBoard(bus_)) {
        if (lightLux)
            board_.chip.setLight(
                sim::LightSource::constant(*lightLux, *lightLux * sim::demoLight().infraredShare));
        if (saved_)
            for (int reg = 0; reg < kKept; ++reg)
                board_.chip.setReg(reg, static_cast<std::uint8_t>(saved_->registers[reg]));
        clock_.resume();
    }
    ~DemoBoard() {
        QByteArray registers;
        for (int reg = 0; reg < kKept; ++reg) registers += static_cast<char>(board_.chip.reg(reg));
        QDir().mkpath(QFileInfo(path()).path());
        QSaveFile state(path());
        if (!state.open(QIODevice::WriteOnly)) return;
        state.write(registers.toHex().toUpper() + ' ' + QByteArray::number(clock_.milliseconds()) + '\n');
        state.commit();
    }
    DemoBoard(const DemoBoard&) = delete;
    DemoBoard& operator=(const DemoBoard&) = delete;

    HidTransport& bus() { return bus_; }

private:
    static constexpr int kKept = 8;  // R0..R7
    struct Saved {
        QByteArray registers;
        std::uint32_t atMs;
    };
    static QString path() {
        return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
               "/tolvane-cli/demo-board";
    }
    static std::optional<Saved> load() {
        QFile state(path());
        if (!state.open(QIODevice::ReadOnly)) return std::nullopt;
        const QList<QByteArray> fields = state.readAll().trimmed().split(' ');
        const QByteArray registers = QByteArray::fromHex(fields.value(0));
        bool ok = false;
        const std::uint32_t atMs = fields.value(1).toUInt(&ok);
        if (registers.size() != kKept || !ok) return std::nullopt;
        return Saved{registers, atMs};
    }

    std::optional<Saved> saved_;
    ResumingClock clock_;
    sim::SimBus bus_;
    sim::SimBoard& board_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    catchInterrupt();
    SteadyClock clock;
    PreciseWait wait;
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
