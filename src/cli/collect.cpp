#include "cli/collect.h"

#include "board/multi_board_run.h"
#include "readinglog/reading_row.h"
#include "readinglog/whole_line_file.h"

namespace {

constexpr std::int64_t kProgressEveryMs = 1000;

// Standard output or the --output file, each row whole and on its way out the moment it is written:
// every row taken is kept, and a full disk costs the row being written, never a row cut short.
class RowOutput {
public:
    RowOutput(CliSystem& system, const QString& path)
        : out_(system.out), file_(path), direct_(path.isEmpty() && system.outDescriptor >= 0) {
        if (direct_) out_.flush();  // what went before, before the rows
        if (direct_ && !file_.openOn(system.outDescriptor)) direct_ = false;
    }

    // Creates the file, if one is named, and writes the header.
    std::optional<Failure> open(const QByteArray& header = readingCsvHeader()) {
        if (toFile() && !file_.create()) return cannotWrite();
        return write(header);
    }

    std::optional<Failure> write(const QByteArray& bytes) {
        if (toFile() || direct_) return file_.append(bytes) ? std::nullopt : cannotWrite();
        out_.write(bytes.constData(), bytes.size());
        out_.flush();
        if (!out_) return Failure{ExitUsage, "Cannot write the readings to standard output."};
        return std::nullopt;
    }

private:
    bool toFile() const { return !file_.fileName().isEmpty(); }
    std::optional<Failure> cannotWrite() const {
        const QString where = direct_ ? QStringLiteral("the readings to standard output") : file_.fileName();
        return Failure{ExitUsage, QString("Cannot write %1: %2.").arg(where, file_.error())};
    }

    std::ostream& out_;
    WholeLineFile file_;
    bool direct_;  // to standard output's descriptor
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
    ReadingRun run(board, command.plan, system.stopRequested);
    if (std::optional<BoardFailure> failure = run.begin()) return failure;
    RowOutput output(system, command.output);
    if (std::optional<Failure> failure = output.open()) return failure;

    Progress progress(system);
    while (const std::optional<ReadingRow> row = run.next()) {
        if (std::optional<Failure> failure = output.write(readingCsvLine(*row))) return failure;
        progress.taken(row->seq + 1, row->elapsedMs);
    }
    return run.failure();
}

std::optional<Failure> collectFromBoards(const CollectCommand& command,
                                         const std::vector<BoardSession*>& boards, CliSystem& system) {
    MultiBoardRun run(boards, command.plan, system.stopRequested);
    if (std::optional<BoardFailed> failed = run.begin()) return run.named(*failed);
    RowOutput output(system, command.output);
    if (std::optional<Failure> failure = output.open(boardReadingCsvHeader())) return failure;
    std::vector<QByteArray> names;
    for (BoardSession* board : boards) names.push_back(boardCsvField(board->name()));

    run.start();
    Progress progress(system);
    std::int64_t taken = 0;
    std::optional<Failure> lost;
    while (const std::optional<std::variant<BoardRow, BoardFailed>> event = run.next()) {
        if (const auto* failed = std::get_if<BoardFailed>(&*event)) {
            // The board's rows so far stay; the others go on to the end.
            const Failure failure = run.named(*failed);
            system.err << ("tolvane-cli: " + failure.message + "\n").toStdString();
            if (!lost) lost = failure;
            continue;
        }
        const BoardRow& row = std::get<BoardRow>(*event);
        if (std::optional<Failure> failure = output.write(names[row.board] + ',' + readingCsvLine(row.row)))
            return failure;
        progress.taken(++taken, row.row.elapsedMs);
    }
    if (lost) return Failure{lost->status, QString()};  // its line is on standard error already
    return std::nullopt;
}
