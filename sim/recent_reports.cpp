#include "sim/recent_reports.h"

#include <stdexcept>
#include <string>

namespace sim {

void RecentReports::push_back(const LoggedReport& report) {
    kept_.push_back(report);
    if (kept_.size() > kKept) {
        kept_.pop_front();
        ++dropped_;
    }
}

const LoggedReport& RecentReports::at(std::size_t position) const {
    if (position < dropped_ || position >= size()) {
        throw std::out_of_range("report " + std::to_string(position) + " is not in the log, which keeps " +
                                std::to_string(first()) + " to " + std::to_string(size()) + " (exclusive)");
    }
    return kept_[position - dropped_];
}

}  // namespace sim
