#include "python/readings.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "python/failures.h"
#include "readinglog/whole_line_file.h"

namespace {

// Room for the rows a count asks for, up to this many: past it the rows grow as they come.
constexpr std::int64_t kMostRowsReserved = 1 << 22;

// What a run on the board leaves, for the caller to raise or return with the interpreter lock back.
struct Collected {
    std::vector<ArrayRow> rows;
    std::optional<BoardFailure> failure;
    QString fileError;
};

void collectInto(Collected& collected, BoardSession& session, const RunPlan& plan, StopCheck& stop,
                 const QString& output) {
    ReadingRun run(session, plan, [&stop] { return stop(); });
    if ((collected.failure = run.begin())) return;
    WholeLineFile file(output);
    const bool toFile = !output.isEmpty();
    const auto cannotWrite = [&] {
        collected.fileError = QString("Cannot write %1: %2.").arg(output, file.error());
    };
    if (toFile && (!file.create() || !file.append(readingCsvHeader()))) return cannotWrite();
    if (plan.count)
        collected.rows.reserve(static_cast<std::size_t>(std::min(*plan.count, kMostRowsReserved)));
    while (const std::optional<ReadingRow> row = run.next()) {
        collected.rows.push_back(arrayRowOf(*row));
        if (toFile && !file.append(readingCsvLine(*row))) return cannotWrite();
    }
    collected.failure = run.failure();
}

}  // namespace

ReadingIterator::ReadingIterator(py::object board, const RunPlan& plan)
    : boardObject_(std::move(board)),
      board_(boardObject_.cast<Board&>()),
      plan_(plan),
      stop_(board_.closing()) {}

py::object ReadingIterator::next() {
    if (over_) throw py::stop_iteration();
    stop_.arm();
    struct Step {
        std::optional<ReadingRow> row;
        std::optional<BoardFailure> failure;
    };
    const Step step = board_.exclusive([this](OpenBoard& board) -> Step {
        if (!run_) {
            run_ = std::make_unique<ReadingRun>(board.session(), plan_, [this] { return stop_(); });
            if (std::optional<BoardFailure> failure = run_->begin()) return {std::nullopt, failure};
        }
        std::optional<ReadingRow> row = run_->next();
        return {row, row ? std::nullopt : run_->failure()};
    });
    if (step.row) return reading_(*step.row);
    over_ = true;
    stop_.raiseStop();
    if (step.failure) raise(exceptionFor(*step.failure));
    throw py::stop_iteration();
}

py::object collect(Board& board, const RunPlan& plan, const QString& output) {
    StopCheck stop(board.closing());
    stop.arm();
    Collected collected;
    board.exclusive([&](OpenBoard& open) { collectInto(collected, open.session(), plan, stop, output); });
    // A run ended early (a stop, a failure) leaves room it will not use.
    if (collected.rows.capacity() > collected.rows.size() + collected.rows.size() / 8)
        collected.rows.shrink_to_fit();
    const py::array readings = readingArray(std::move(collected.rows));
    stop.raiseStop(readings);
    return endOfRun(readings, collected.failure, collected.fileError);
}

py::object endOfRun(const py::object& readings, const std::optional<BoardFailure>& failure,
                    const QString& fileError) {
    if (!failure && fileError.isEmpty()) return readings;
    const py::object exception =
        failure ? exceptionFor(*failure)
                : py::reinterpret_borrow<py::object>(PyExc_OSError)(fileError.toStdString());
    exception.attr("readings") = readings;
    raise(exception);
}
