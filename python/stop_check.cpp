#include "python/stop_check.h"

void StopCheck::arm() {
    const py::module_ threading = py::module_::import("threading");
    mainThread_ = threading.attr("current_thread")().is(threading.attr("main_thread")());
    interrupted_.reset();
}

bool StopCheck::operator()() {
    if (closing_) return true;
    if (!mainThread_) return false;
    const py::gil_scoped_acquire hold;
    if (PyErr_CheckSignals() == 0) return false;
    interrupted_.emplace();
    return true;
}

void StopCheck::raiseInterrupt(const py::object& readings) {
    if (!interrupted_) return;
    if (readings) interrupted_->value().attr("readings") = readings;
    throw *interrupted_;
}
