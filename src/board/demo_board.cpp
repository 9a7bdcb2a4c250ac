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

constexpr int kKept = 8;  // R0..R7

QString statePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/tolvane-cli/demo-board";
}

struct Saved {
    QByteArray registers;
    std::uint32_t atMs;
};

std::optional<Saved> load() {
    QFile state(statePath());
    if (!state.open(QIODevice::ReadOnly)) return std::nullopt;
    const QList<QByteArray> fields = state.readAll().trimmed().split(' ');
    const QByteArray registers = QByteArray::fromHex(fields.value(0));
    bool ok = false;
    const std::uint32_t atMs = fields.value(1).toUInt(&ok);
    if (registers.size() != kKept || !ok) return std::nullopt;
    return Saved{registers, atMs};
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

}  // namespace

struct DemoBoard::Parts {
    Parts(Clock& real, std::optional<Saved> kept)
        : saved(std::move(kept)), clock(real, saved ? std::optional(saved->atMs) : std::nullopt) {}

    std::optional<Saved> saved;
    ResumingClock clock;
    sim::SimBus bus{clock, sim::Timing::Realistic};
    sim::SimBoard& board = sim::addDemoBoard(bus);
};

DemoBoard::DemoBoard(Clock& clock, std::optional<double> lightLux)
    : parts_(std::make_unique<Parts>(clock, load())) {
    sim::TolvaneChip& chip = parts_->board.chip;
    if (lightLux)
        chip.setLight(sim::LightSource::constant(*lightLux, *lightLux * sim::demoLight().infraredShare));
    if (parts_->saved)
        for (int reg = 0; reg < kKept; ++reg)
            chip.setReg(reg, static_cast<std::uint8_t>(parts_->saved->registers[reg]));
    parts_->clock.resume();
}

DemoBoard::~DemoBoard() {
    QByteArray registers;
    for (int reg = 0; reg < kKept; ++reg) registers += static_cast<char>(parts_->board.chip.reg(reg));
    QDir().mkpath(QFileInfo(statePath()).path());
    QSaveFile state(statePath());
    if (!state.open(QIODevice::WriteOnly)) return;
    state.write(registers.toHex().toUpper() + ' ' + QByteArray::number(parts_->clock.milliseconds()) + '\n');
    state.commit();
}

HidTransport& DemoBoard::transport() {
    return parts_->bus;
}
