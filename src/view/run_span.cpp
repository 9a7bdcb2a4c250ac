// The spans of a run: what the statistics and the plotted line read, from the block summaries
// wherever a span covers whole blocks.
#include <algorithm>
#include <cmath>
#include <limits>

#include "view/run_readings.h"

namespace {

// Mean and spread of values taken in parts (Chan's way of joining them), exact where the values are
// large and close together.
struct Moments {
    double n = 0;
    double mean = 0;
    double squares = 0;

    void join(double count, double otherMean, double otherSquares) {
        const double total = n + count;
        const double delta = otherMean - mean;
        mean += delta * count / total;
        squares += otherSquares + delta * delta * n * count / total;
        n = total;
    }
    void add(double value) { join(1, value, 0); }
};

}  // namespace

template <typename OnReading, typename OnBlock>
void RunReadings::walk(qint64 first, qint64 last, OnReading onReading, OnBlock onBlock) const {
    // The first reading is always taken alone, so a whole block never starts the span: its largest
    // gap, which may end at its first reading, then lies inside the span.
    const qint64 wholeFrom = std::min(last, (first / kBlock + 1) * kBlock);
    const qint64 wholeTo = std::max(wholeFrom, last / kBlock * kBlock);
    for (qint64 i = first; i < wholeFrom; ++i) onReading(i);
    for (qint64 b = wholeFrom / kBlock; b < wholeTo / kBlock; ++b) onBlock(b);
    for (qint64 i = wholeTo; i < last; ++i) onReading(i);
}

RunReadings::Extremes RunReadings::extremes(qint64 first, qint64 last) const {
    Extremes e;
    std::int32_t low = std::numeric_limits<std::int32_t>::max();
    std::int32_t high = std::numeric_limits<std::int32_t>::min();
    const auto consider = [&](std::int32_t lowest, qint64 lowestAt, std::int32_t highest, qint64 highestAt) {
        if (lowest < low) low = lowest, e.minimumAt = lowestAt;
        if (highest > high) high = highest, e.maximumAt = highestAt;
    };
    walk(
        first, last, [&](qint64 i) { consider(at(i).milliValue, i, at(i).milliValue, i); },
        [&](qint64 b) {
            const Block& block = blocks_[static_cast<std::size_t>(b)];
            consider(block.minimum, b * kBlock + block.minimumAt, block.maximum,
                     b * kBlock + block.maximumAt);
        });
    return e;
}

SpanStatistics RunReadings::statistics(qint64 first, qint64 last) const {
    SpanStatistics s;
    s.readings = std::max<qint64>(0, last - first);
    if (s.readings == 0) return s;
    Moments moments;
    std::uint32_t largestGap = 0;
    auto nextRunStart = std::upper_bound(runStarts_.begin(), runStarts_.end(), first);
    walk(
        first, last,
        [&](qint64 i) {
            moments.add(at(i).milliValue);
            while (nextRunStart != runStarts_.end() && *nextRunStart < i) ++nextRunStart;
            const bool runGoesOn = i > first && (nextRunStart == runStarts_.end() || *nextRunStart != i);
            if (runGoesOn) largestGap = std::max(largestGap, timeMs(i) - timeMs(i - 1));
        },
        [&](qint64 b) {
            const Block& block = blocks_[static_cast<std::size_t>(b)];
            moments.join(static_cast<double>(std::min(kBlock, size_ - b * kBlock)), block.mean,
                         block.squares);
            largestGap = std::max(largestGap, block.largestGapMs);
        });
    const Extremes e = extremes(first, last);
    s.minimum = value(e.minimumAt);
    s.maximum = value(e.maximumAt);
    s.mean = moments.mean / 1000;
    s.deviation =
        s.readings > 1 ? std::sqrt(moments.squares / static_cast<double>(s.readings - 1)) / 1000 : 0;
    s.largestGapMs = largestGap;
    intervals(first, last, s);
    return s;
}

void RunReadings::intervals(qint64 first, qint64 last, SpanStatistics& s) const {
    s.scheduleMs = usualIntervalMs();
    double lasted = 0;
    qint64 gaps = 0;
    // Run by run: the start of the run holding `first`, then each later one.
    auto run = std::upper_bound(runStarts_.begin(), runStarts_.end(), first);
    for (qint64 from = first; from < last;) {
        const qint64 to = run == runStarts_.end() ? last : std::min(last, *run);
        const double ms = timeMs(to - 1) - timeMs(from);
        lasted += ms;
        gaps += to - 1 - from;
        if (s.scheduleMs > 0)
            s.missed += std::max<qint64>(0, std::llround(ms / s.scheduleMs) + 1 - (to - from));
        from = to;
        if (run != runStarts_.end()) ++run;
    }
    s.meanIntervalMs = gaps > 0 ? lasted / static_cast<double>(gaps) : 0;
}

std::vector<PlotPoint> RunReadings::outline(double fromMs, double toMs, int columns) const {
    std::vector<PlotPoint> points;
    qint64 last = -1;
    auto runStart = runStarts_.begin();
    const auto point = [&](qint64 i) {
        // Runs appended to one file are apart: no line crosses the pause between them.
        runStart = std::upper_bound(runStart, runStarts_.end(), last);
        if (last >= 0 && runStart != runStarts_.end() && *runStart <= i)
            points.push_back({(timeMs(last) + timeMs(i)) / 2.0, std::numeric_limits<double>::quiet_NaN()});
        points.push_back({static_cast<double>(timeMs(i)), value(i)});
        last = i;
    };
    qint64 i = firstAtOrAfter(fromMs);
    if (i > 0) point(i - 1);
    const double width = (toMs - fromMs) / std::max(1, columns);
    for (int column = 1; column <= columns && i < size_; ++column) {
        // Times are whole milliseconds: the last column takes the one at its right edge too.
        const qint64 next =
            firstAtOrAfter(column == columns ? std::floor(toMs) + 1 : fromMs + column * width);
        if (next - i == 1) point(i);
        if (next - i > 1) {
            const Extremes e = extremes(i, next);
            point(std::min(e.minimumAt, e.maximumAt));
            if (e.minimumAt != e.maximumAt) point(std::max(e.minimumAt, e.maximumAt));
        }
        i = next;
    }
    if (i < size_) point(i);
    return points;
}
