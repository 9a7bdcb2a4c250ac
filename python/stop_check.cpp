#include "python/stop_check.h"

#include "python/failures.h"

void StopCheck::arm() {
    const py::module_ threading = py::module_::import("threading");
    mainThread_ = threading.attr("current_thread")().is(threading.attr("main_thread")());
    interrupted_.reset();
    closed_ = false;
}

bool StopCheck::operator()() {
    if (closing_) {
        closed_ = true;
        return true;
    }
    if (!mainThread_) return false;
    const py::gil_scoped_acquire hold;
    if (PyErr_CheckSignals() == 0) return false;
    interrupted_.emplace();
    return true;
}

void StopCheck::raiseStop(const py::object& readings) {
    if (interrupted_) {
        if (readings) interrupted_->value().attr("readings") = readings;
        throw *interrupted_;
    }
    if (!closed_) return;
    // A run another thread's close() cut short is no whole run: its rows go with the error.
    const py::object error = py::reinterpret_borrow<py::object>(PyExc_ValueError)(kBoardClosed);
    if (readings) error.attr("readings") = readings;
    raise(error);
}
