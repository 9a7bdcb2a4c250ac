#pragma once

#include <pybind11/pybind11.h>

#include <QString>
#include <QStringList>

#include "board/reading_run.h"
#include "python/open_board.h"

namespace py = pybind11;

// tolvane.collect_boards(): the readings of several boards on one schedule from one start, each board
// on a thread of its own, as one numpy structured array led by a `board` field (its serial number, else
// its path), rows in the order taken: the rows of tolvane-cli collect with several boards, which
// `output` (unless empty) gets as they come. `boards` run on the transport of `base`. A board lost keeps
// its rows and the others go on to the end; then, as a failure, a file that takes no more rows or Ctrl-C
// would, it raises with the readings as its `readings` attribute.
py::object collectBoards(OpenBoard& base, const QStringList& choices, const RunPlan& plan,
                         const QString& output);
