#pragma once

#include <pybind11/pybind11.h>

#include <QString>
#include <memory>
#include <optional>

#include "board/reading_run.h"
#include "python/board.h"
#include "python/reading_forms.h"
#include "python/stop_check.h"

namespace py = pybind11;

// board.readings(): an iterator whose every step waits for the run's next reading, without the
// interpreter lock, and gives it as a tolvane.Reading. The first step also reads the range, resolution
// and mode the readings carry. The board is free between steps, so the loop's body may use it.
class ReadingIterator {
public:
    ReadingIterator(py::object board, const RunPlan& plan);
    py::object next();

private:
    py::object boardObject_;  // keeps the board alive while its readings are
    Board& board_;
    RunPlan plan_;
    StopCheck stop_;
    ReadingMaker reading_;
    std::unique_ptr<ReadingRun> run_;
    bool over_ = false;
};

// board.collect(): the run's readings as one numpy structured array, each also written as a row of
// `output` (a CSV file as tolvane-cli's, unless empty) the moment it is taken. A failure, a file that
// takes no more rows, or Ctrl-C ends the run with an exception that carries the readings taken as its
// `readings` attribute.
py::object collect(Board& board, const RunPlan& plan, const QString& output);

// How a run that collected `readings` ends: they are returned, or, after a failure or a file that took
// no more rows, raised with the exception as its `readings` attribute.
py::object endOfRun(const py::object& readings, const std::optional<BoardFailure>& failure,
                    const QString& fileError);
