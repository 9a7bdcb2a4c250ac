#pragma once

#include <pybind11/pybind11.h>

#include <QString>

#include "board/board_failure.h"

namespace py = pybind11;

// tolvane.Error and a class below it for each kind of board failure, added to the module.
void addExceptionClasses(py::module_& module);

// The exception a board failure is raised as: its class by the failure's kind, its text the line
// tolvane-cli prints for it (without "tolvane-cli: ").
py::object exceptionFor(const BoardFailure& failure);
// A tolvane.Error of the module's own, which no kind of board failure names.
py::object moduleError(const QString& message);

// Raises `exception`, an exception instance, in Python.
[[noreturn]] void raise(const py::object& exception);
