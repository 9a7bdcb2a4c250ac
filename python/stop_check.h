#pragma once

#include <pybind11/pybind11.h>

#include <atomic>
#include <optional>

namespace py = pybind11;

// The words of the ValueError every call on a closed board raises.
inline constexpr char kBoardClosed[] = "The board is closed.";

// What a run asks before each reading and at least every 100 ms of a wait: whether to stop. It stops
// once the board is being closed (by another thread) and, on the main thread, when a signal handler
// raises (Ctrl-C's KeyboardInterrupt), whose exception it keeps for the caller. Other threads never see
// signals, so there it takes nothing; on the main thread it takes the interpreter lock for the moment it
// asks.
class StopCheck {
public:
    explicit StopCheck(const std::atomic<bool>& closing) : closing_(closing) {}

    // Before a call that runs the board: notes the thread and forgets an earlier interrupt. With the
    // interpreter lock.
    void arm();
    // Without the interpreter lock.
    bool operator()();
    // Raises what stopped the run, if anything did: what the signal handler raised, or a ValueError for
    // the board closed meanwhile, with `readings` as its attribute when given. With the interpreter lock.
    void raiseStop(const py::object& readings = {});

private:
    const std::atomic<bool>& closing_;
    bool mainThread_ = false;
    bool closed_ = false;  // the run stopped for the board's closing
    std::optional<py::error_already_set> interrupted_;
};
