#include "board/demo_board.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QSaveFile>
#include <QStandardPaths>

#include "sim/demo_board.h"
#include "sim/sim_bus.h"

namespace {

constexpr int kKept = 8;      // R0..R7
constexpr int kWritable = 4;  // R0..R3: the others the chip changes itself as it measures

QByteArray registersOf(sim::TolvaneChip& chip) {
    QByteArray registers;
    for (int reg = 0; reg < kKept; ++reg) registers += static_cast<char>(chip.reg(reg));
    return registers;
}

struct Saved {
    QByteArray registers;
    std::uint32_t atMs;
};

std::optional<Saved> load(int board) {
    QFile state(DemoBoard::statePath(board));
    if (!state.open(QIODevice::ReadOnly)) return std::nullopt;
    const QList<QByteArray> fields = state.readAll().trimmed().split(' ');
    const QByteArray registers = QByteArray::fromHex(fields.value(0));
    bool ok = false;
    const std::uint32_t atMs = fields.value(1).toUInt(&ok);
    if (registers.size() != kKept || !ok) return std::nullopt;
    return Saved{registers, atMs};
}

// The clock of the simulated boards: held at the time the last run left them until resume(), the real
// one from then on, so the chips catch up with what they would have measured in between.
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

}  // namespace

struct DemoBoard::Parts {
    Parts(Clock& real, std::optional<std::uint32_t> leftAtMs) : clock(real, leftAtMs) {}

    ResumingClock clock;
    sim::SimBus bus{clock, sim::Timing::Realistic};
    std::vector<sim::SimBoard*> boards;
    std::vector<QByteArray> found;  // each board's registers as this program found them
    bool kept = false;              // keepRegisters() has run
};

DemoBoard::DemoBoard(Clock& clock, std::optional<double> lightLux, int boards) {
    std::vector<std::optional<Saved>> saved;
    for (int board = 1; board <= boards; ++board) saved.push_back(load(board));
    // The boards were left together: the first one's time is theirs.
    parts_ = std::make_unique<Parts>(clock, saved[0] ? std::optional(saved[0]->atMs) : std::nullopt);
    for (int board = 1; board <= boards; ++board) {
        const auto quarterCycle = static_cast<std::uint32_t>(sim::LightSource::kWavePeriodMs / 4);
        sim::SimBoard& added = sim::addDemoBoard(parts_->bus, "DEMO-" + std::to_string(board),
                                                 static_cast<std::uint32_t>(board - 1) * quarterCycle);
        sim::TolvaneChip& chip = added.chip;
        const double infrared = sim::demoLight().infraredShare;
        if (lightLux) chip.setLight(sim::LightSource::constant(*lightLux, *lightLux * infrared));
        if (const std::optional<Saved>& kept = saved[static_cast<std::size_t>(board - 1)])
            for (int reg = 0; reg < kKept; ++reg)
                chip.setReg(reg, static_cast<std::uint8_t>(kept->registers[reg]));
        parts_->boards.push_back(&added);
        parts_->found.push_back(registersOf(chip));
    }
    parts_->clock.resume();
}

DemoBoard::~DemoBoard() {
    if (!parts_->kept) keepRegisters();
}

std::optional<QString> DemoBoard::keepRegisters() {
    parts_->kept = true;
    const QByteArray now = QByteArray::number(parts_->clock.milliseconds());
    std::optional<QString> failure;
    for (std::size_t board = 0; board < parts_->boards.size(); ++board) {
        const QByteArray registers = registersOf(parts_->boards[board]->chip);
        const QString path = statePath(static_cast<int>(board) + 1);
        QDir().mkpath(QFileInfo(path).path());
        QSaveFile state(path);
        if (state.open(QIODevice::WriteOnly) &&
            state.write(registers.toHex().toUpper() + ' ' + now + '\n') > 0 && state.commit())
            continue;
        // Registers as they were found are there for the next program anyway (a read on a read-only
        // home still works); only a change would be lost.
        if (!failure && registers.left(kWritable) != parts_->found[board].left(kWritable))
            failure = QString("Cannot keep the simulated board's registers in %1: %2.")
                          .arg(path, state.errorString());
    }
    return failure;
}

QString DemoBoard::statePath(int board) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    return folder + "/tolvane-cli/demo-board" + (board == 1 ? QString() : "-" + QString::number(board));
}

HidTransport& DemoBoard::transport() {
    return parts_->bus;
}

std::optional<std::unique_ptr<QLockFile>> DemoBoard::claim() {
    const QString state = DemoBoard::statePath();
    QDir().mkpath(QFileInfo(state).path());
    auto lock = std::make_unique<QLockFile>(state + ".lock");
    lock->setStaleLockTime(0);  // stale only when the process that took it is gone
    if (lock->tryLock()) return lock;
    if (lock->error() != QLockFile::LockFailedError) return nullptr;
    return std::nullopt;
}
