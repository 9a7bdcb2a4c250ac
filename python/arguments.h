#pragma once

#include <pybind11/pybind11.h>

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

#include "board/reading_run.h"
#include "chip/field_changes.h"

namespace py = pybind11;

// The module's arguments read into the board library's values. A value of the wrong type is a
// TypeError, one out of range a ValueError, each naming the argument as the caller wrote it.

// An int (not a bool) from `lowest` to `highest`; `expected` says which in the message.
std::int64_t wholeNumber(const py::handle& value, const char* name, std::int64_t lowest, std::int64_t highest,
                         const QString& expected);
// A bool.
bool flag(const py::handle& value, const char* name);
// demo=: False (0, the real boards), True (one simulated board) or a number of simulated boards, 1 to 16.
int demoBoards(const py::handle& value);
// A board as open() and collect_boards() take it: an index (int), or a path or serial number (str).
QString boardChoice(const py::handle& value, const char* name);
// An int, a float or None (none) from `lowest` to `highest`.
std::optional<double> realNumber(const py::handle& value, const char* name, double lowest, double highest,
                                 const QString& expected);
// A str or an os.PathLike naming a file.
QString path(const py::handle& value, const char* name);
// The "Invalid value ... for ...: ..." of a value out of range.
[[noreturn]] void invalid(const py::handle& value, const char* name, const QString& expected);

// interval_ms, count and duration_s of readings() and collect().
RunPlan runPlan(const py::handle& intervalMs, const py::handle& count, const py::handle& durationS);

// The fields set() names, and the notes on thresholds rounded to what the chip holds.
struct NamedFields {
    FieldChanges changes;
    QStringList notes;
};
NamedFields namedFields(const py::handle& range, const py::handle& resolution, const py::handle& mode,
                        const py::handle& power, const py::handle& persistence, const py::handle& high,
                        const py::handle& low);
