#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "boardlink/hid_transport.h"

namespace sim {

struct LoggedReport {
    std::uint32_t timeMs;
    Report bytes;
    std::uint64_t serial;  // place in the board's traffic both ways: orders reports of the same millisecond
};

// The reports of one direction of a board's traffic, numbered from 0 in the order they came. It keeps
// only the last kKept, so a demo collecting all day stays the same size, but counts them all: a position
// taken as "reports so far" keeps pointing at the same report while that report is kept.
class RecentReports {
public:
    // The board window shows 200 reports, and no test reads back more than a hundred after its mark:
    // this leaves room for both and holds about 80 kB.
    static constexpr std::size_t kKept = 1024;

    void push_back(const LoggedReport& report);

    // Every report logged, kept or not.
    std::size_t size() const { return dropped_ + kept_.size(); }
    bool empty() const { return size() == 0; }
    // Position of the oldest report still kept.
    std::size_t first() const { return dropped_; }

    // The report at `position`; throws std::out_of_range when it is no longer kept, or not there yet.
    const LoggedReport& at(std::size_t position) const;
    const LoggedReport& operator[](std::size_t position) const { return at(position); }
    const LoggedReport& back() const { return at(size() - 1); }

private:
    std::deque<LoggedReport> kept_;
    std::size_t dropped_ = 0;
};

}  // namespace sim
