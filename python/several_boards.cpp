#include "python/several_boards.h"

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

#include "board/board_choice.h"
#include "board/multi_board_run.h"
#include "python/failures.h"
#include "python/reading_forms.h"
#include "python/readings.h"
#include "python/stop_check.h"
#include "readinglog/whole_line_file.h"

namespace {

// What the boards' run leaves, for the caller to return or raise with the interpreter lock back.
struct Gathered {
    std::vector<ArrayRow> rows;
    std::vector<std::uint16_t> boardOfRow;
    std::optional<BoardFailure> failure;  // the first board's that failed, its line naming the board
    QString fileError;
};

// Runs without the interpreter lock; `stop` takes it for the moment it asks, between rows.
void gather(Gathered& gathered, const std::vector<BoardSession*>& boards, const RunPlan& plan,
            StopCheck& stop, const QString& output) {
    MultiBoardRun run(boards, plan, [] { return false; });
    if (std::optional<BoardFailed> failed = run.begin()) {
        gathered.failure = run.named(*failed);
        return;
    }
    WholeLineFile file(output);
    const bool toFile = !output.isEmpty();
    const auto cannotWrite = [&] {
        gathered.fileError = QString("Cannot write %1: %2.").arg(output, file.error());
    };
    if (toFile && (!file.create() || !file.append(boardReadingCsvHeader()))) return cannotWrite();
    std::vector<QByteArray> names;
    for (BoardSession* board : boards) names.push_back(boardCsvField(board->name()) + ',');

    run.start();
    while (const std::optional<std::variant<BoardRow, BoardFailed>> event = run.next()) {
        if (stop()) run.stop();  // Ctrl-C: the boards end after the reading each is taking
        if (const auto* failed = std::get_if<BoardFailed>(&*event)) {
            if (!gathered.failure) gathered.failure = run.named(*failed);
            continue;
        }
        const BoardRow& row = std::get<BoardRow>(*event);
        gathered.rows.push_back(arrayRowOf(row.row));
        gathered.boardOfRow.push_back(static_cast<std::uint16_t>(row.board));
        if (toFile && !file.append(names[row.board] + readingCsvLine(row.row))) return cannotWrite();
    }
}

// The rows with the field naming their board first.
py::object withBoards(std::vector<ArrayRow> rows, const std::vector<std::uint16_t>& boardOfRow,
                      const std::vector<BoardSession*>& boards) {
    const py::module_ numpy = py::module_::import("numpy");
    const py::array readings = readingArray(std::move(rows));
    py::list names;
    for (BoardSession* board : boards) names.append(board->name().toStdString());
    const py::object boardNames = numpy.attr("array")(names);
    py::list columns;
    columns.append(py::make_tuple("board", boardNames.attr("dtype")));
    for (const py::handle column : readings.dtype().attr("descr")) columns.append(column);
    py::object table = numpy.attr("empty")(readings.size(), columns);
    table["board"] = boardNames[py::array_t<std::uint16_t>(static_cast<py::ssize_t>(boardOfRow.size()),
                                                           boardOfRow.data())];
    for (const py::handle field : readings.dtype().attr("names")) table[field] = readings[field];
    return table;
}

}  // namespace

py::object collectBoards(OpenBoard& base, const QStringList& choices, const RunPlan& plan,
                         const QString& output) {
    std::vector<std::unique_ptr<BoardSession>> sessions;
    if (std::optional<BoardFailure> failure = openBoards(choices, base.transport(), base.clock(),
                                                         base.dueTimeWait(), base.calendar(), sessions))
        raise(exceptionFor(*failure));
    std::vector<BoardSession*> boards;
    for (const std::unique_ptr<BoardSession>& session : sessions) boards.push_back(session.get());

    const std::atomic<bool> closing = false;  // the boards are this call's own: nobody closes them
    StopCheck stop(closing);
    stop.arm();
    Gathered gathered;
    {
        const py::gil_scoped_release free;
        gather(gathered, boards, plan, stop, output);
    }
    const py::object readings = withBoards(std::move(gathered.rows), gathered.boardOfRow, boards);
    stop.raiseStop(readings);
    return endOfRun(readings, gathered.failure, gathered.fileError);
}
