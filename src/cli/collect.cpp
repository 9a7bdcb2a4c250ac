#include "cli/collect.h"

#include <QFile>
#include <algorithm>
#include <vector>

#include "readinglog/reading_row.h"

namespace {

// A long wait is cut into pieces this long, so that Ctrl-C is heard while it waits.
constexpr std::int64_t kStopCheckMs = 100;
constexpr std::int64_t kProgressEveryMs = 1000;
constexpr std::uint8_t kCountRegister = 4;  // R4 and R5: the ADC count, low byte first

// When reading k is due, and when the run is over, on the monotonic clock.
class Schedule {
public:
    Schedule(CliSystem& system, const CollectCommand& command)
        : system_(system), command_(command), last_(system.clock.milliseconds()) {}

    // Waits until reading `seq` is due; false when the run ends first (its count, its duration, Ctrl-C).
    bool waitFor(std::int64_t seq) {
        if (command_.count && seq >= *command_.count) return false;
        const std::int64_t due = seq * command_.intervalMs;
        // A run behind its schedule (a board slower than the interval, or interval 0) is over when the
        // clock says so, not only when the next reading's due time does.
        if (command_.durationMs && std::max(due, elapsed()) >= *command_.durationMs) return false;
        for (;;) {
            if (system_.stopRequested()) return false;
            const std::int64_t remaining = due - elapsed();
            if (remaining <= 0) return true;
            system_.wait.waitUntil(last_ + static_cast<std::uint32_t>(std::min(remaining, kStopCheckMs)));
        }
    }

    // Milliseconds since the start; 64 bits, so the 32-bit counter may wrap during a run.
    std::int64_t elapsed() {
        const std::uint32_t now = system_.clock.milliseconds();
        elapsed_ += static_cast<std::uint32_t>(now - last_);
        last_ = now;
        return elapsed_;
    }

private:
    CliSystem& system_;
    const CollectCommand& command_;
    std::uint32_t last_;
    std::int64_t elapsed_ = 0;
};

// Standard output or the --output file, each row flushed as written: every row taken is on disk.
class RowOutput {
public:
    RowOutput(std::ostream& out, const QString& path) : out_(out), file_(path) {}

    // Creates the file, if one is named, and writes the header.
    std::optional<Failure> open() {
        if (toFile() && !file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) return cannotWrite();
        return write(readingCsvHeader());
    }

    std::optional<Failure> write(const QByteArray& bytes) {
        if (toFile()) {
            if (file_.write(bytes) != bytes.size() || !file_.flush()) return cannotWrite();
            return std::nullopt;
        }
        out_.write(bytes.constData(), bytes.size());
        out_.flush();
        if (!out_) return Failure{ExitUsage, "Cannot write the readings to standard output."};
        return std::nullopt;
    }

private:
    bool toFile() const { return !file_.fileName().isEmpty(); }
    Failure cannotWrite() const {
        return {ExitUsage, QString("Cannot write %1: %2.").arg(file_.fileName(), file_.errorString())};
    }

    std::ostream& out_;
    QFile file_;
};

// "120 readings, 10.0 per second" on a line of its own that rewrites itself at most once a second, on
// a terminal only: a script reading standard error wants its messages, not a counter.
class Progress {
public:
    explicit Progress(CliSystem& system) : system_(system) {}
    ~Progress() {
        if (shown_) system_.err << '\n';
    }
    Progress(const Progress&) = delete;
    Progress& operator=(const Progress&) = delete;

    void taken(std::int64_t readings, std::int64_t elapsedMs) {
        if (!system_.errIsTerminal || elapsedMs - shownAtMs_ < kProgressEveryMs) return;
        shownAtMs_ = elapsedMs;
        shown_ = true;
        const double perSecond = static_cast<double>(readings - 1) * 1000.0 / static_cast<double>(elapsedMs);
        system_.err
            << QString("\r%1 readings, %2 per second").arg(readings).arg(perSecond, 0, 'f', 1).toStdString();
        system_.err.flush();
    }

private:
    CliSystem& system_;
    std::int64_t shownAtMs_ = 0;
    bool shown_ = false;
};

}  // namespace

std::optional<Failure> collect(const CollectCommand& command, BoardSession& board, CliSystem& system) {
    // The rows' range, resolution and mode are the chip's own, as it holds them now.
    std::vector<std::uint8_t> setup;
    if (std::optional<Failure> failure = board.read(0, 2, setup)) return failure;
    RowOutput output(system.out, command.output);
    if (std::optional<Failure> failure = output.open()) return failure;

    Schedule schedule(system, command);
    Progress progress(system);
    std::vector<std::uint8_t> count;
    for (std::int64_t seq = 0; schedule.waitFor(seq); ++seq) {
        const std::int64_t elapsedMs = schedule.elapsed();
        const QDateTime time = system.calendar.now();
        if (std::optional<Failure> failure = board.read(kCountRegister, 2, count)) return failure;
        const ReadingRow row{time, elapsedMs, seq, count[1] * 256 + count[0], setup[0], setup[1]};
        if (std::optional<Failure> failure = output.write(readingCsvLine(row))) return failure;
        progress.taken(seq + 1, elapsedMs);
    }
    return std::nullopt;
}
