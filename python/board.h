#pragma once

#include <pybind11/pybind11.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "python/open_board.h"
#include "python/stop_check.h"

namespace py = pybind11;

// tolvane.Board: a board opened from Python. One call at a time reaches it, from whichever thread;
// a call waits for the one before without holding the interpreter lock, so other threads run on,
// and it lets go of the lock while the board answers. close() ends it: a run in progress stops at
// its next reading with a ValueError, as every call after that is one.
class Board {
public:
    Board(std::unique_ptr<OpenBoard> open, py::object info);
    Board(const Board&) = delete;
    Board& operator=(const Board&) = delete;

    // R[first] .. R[first + count - 1] as {"R0": 0x80, ...}.
    py::dict read(const py::handle& first, const py::handle& count);
    // Writes one of R0..R3 and returns what it reads back.
    int write(const py::handle& reg, const py::handle& value);
    // Changes the named fields and returns R0..R3 as read back.
    py::dict set(const py::handle& range, const py::handle& resolution, const py::handle& mode,
                 const py::handle& power, const py::handle& persistence, const py::handle& high,
                 const py::handle& low);
    void clearInterrupt();

    void close();
    bool closed() const { return closing_; }
    const py::object& info() const { return info_; }
    const std::atomic<bool>& closing() const { return closing_; }

    // Runs `call` on the open board once no other call is on it, without the interpreter lock: `call`
    // may not touch Python objects.
    template <typename Call>
    auto exclusive(Call&& call) {
        refuseReentry();
        const py::gil_scoped_release free;
        const std::lock_guard lock(mutex_);
        if (!open_) throw py::value_error(kBoardClosed);
        holder_ = std::this_thread::get_id();
        const Holding holding{holder_};
        return call(*open_);
    }

private:
    // Clears the holder when a call ends, however it ends.
    struct Holding {
        std::atomic<std::thread::id>& holder;
        ~Holding() { holder = std::thread::id(); }
    };
    // A signal handler that runs during a call and calls the board again would wait for itself.
    void refuseReentry() const;

    std::mutex mutex_;
    std::unique_ptr<OpenBoard> open_;
    std::atomic<std::thread::id> holder_;
    std::atomic<bool> closing_ = false;
    py::object info_;
};
