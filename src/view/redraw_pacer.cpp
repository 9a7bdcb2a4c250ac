#include "view/redraw_pacer.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr double kNewCostWeight = 0.2;
}

RedrawPacer::RedrawPacer(Clock& clock, std::function<void()> redraw)
    : clock_(clock), redraw_(std::move(redraw)) {
    nextTurn_.setSingleShot(true);
    connect(&nextTurn_, &QTimer::timeout, this, &RedrawPacer::redraw);
}

void RedrawPacer::changed() {
    waiting_ = true;
    if (nextTurn_.isActive()) return;
    const double pauseMs = std::max<double>(kShortestPauseMs, std::ceil(costMs_ / kMostShareOfACore));
    const std::uint32_t now = clock_.milliseconds();
    const std::uint32_t sinceLast = now - lastMs_;
    if (askedOnce_ && sinceLast < pauseMs) return;
    // The pause counts from when this redraw was due, not from the row that came a little after it (nor
    // from the redraw, which waits for the loop's next turn): rows at 97 ms still give five a second.
    lastMs_ = askedOnce_ && sinceLast < 2 * pauseMs ? lastMs_ + static_cast<std::uint32_t>(pauseMs) : now;
    askedOnce_ = true;
    nextTurn_.start(0);
}

void RedrawPacer::flush() {
    if (waiting_) redraw();
}

void RedrawPacer::redraw() {
    nextTurn_.stop();
    waiting_ = false;
    const std::uint32_t startMs = clock_.milliseconds();
    redraw_();
    // A clock of whole milliseconds reads a short redraw as 0 or 1: smoothed, it comes to its cost.
    costMs_ += kNewCostWeight * (static_cast<double>(clock_.milliseconds() - startMs) - costMs_);
}
