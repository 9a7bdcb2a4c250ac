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
    if (!drawnOnce_ || clock_.milliseconds() - lastMs_ >= pauseMs) nextTurn_.start(0);
}

void RedrawPacer::flush() {
    if (waiting_) redraw();
}

void RedrawPacer::redraw() {
    nextTurn_.stop();
    waiting_ = false;
    drawnOnce_ = true;
    lastMs_ = clock_.milliseconds();
    redraw_();
    // A clock of whole milliseconds reads a short redraw as 0 or 1: smoothed, it comes to its cost.
    costMs_ += kNewCostWeight * (static_cast<double>(clock_.milliseconds() - lastMs_) - costMs_);
}
