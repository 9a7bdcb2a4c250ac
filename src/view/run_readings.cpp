#include "view/run_readings.h"

#include <algorithm>
#include <limits>

namespace {
constexpr std::size_t kLongestCountedIntervalMs = 65'535;  // longer ones count as this long
}

RunReadings::RunReadings() = default;
RunReadings::~RunReadings() = default;

bool RunReadings::add(const LoggedReading& r) {
    // Runs appended to one file: the elapsed time starts again, the time column goes on.
    const bool sameRun = last_ && r.elapsedMs >= last_->elapsedMs;
    const std::uint32_t lastTime = size_ > 0 ? timeMs(size_ - 1) : 0;
    const qint64 time = !last_    ? 0
                        : sameRun ? lastTime + (r.elapsedMs - last_->elapsedMs)
                                  : lastTime + std::max<qint64>(0, r.clockMs - last_->clockMs);
    const qint64 milliValue = r.milliLux ? *r.milliLux : r.count * 1000LL;
    if (time > std::numeric_limits<std::uint32_t>::max() ||
        milliValue > std::numeric_limits<std::int32_t>::max())
        return false;

    qint64 skew = segments_.empty() ? 0 : r.clockMs - segments_.back().clockBase - time;
    const Segment* segment = segments_.empty() ? nullptr : &segments_.back();
    const bool newSegment = !sameRun || r.seq != last_->seq + 1 || r.rangeLux != segment->rangeLux ||
                            r.resolutionBits != segment->resolutionBits || r.mode != segment->mode ||
                            r.milliLux.has_value() != segment->hasLux ||
                            skew != static_cast<std::int16_t>(skew);
    if (newSegment) {
        segments_.push_back({size_, r.elapsedMs - time, r.clockMs - time, r.seq - size_, r.rangeLux,
                             r.resolutionBits, r.mode, r.milliLux.has_value()});
        skew = 0;
        if (!sameRun) runStarts_.push_back(size_);
    }
    if ((size_ >> kChunkShift) == static_cast<qint64>(chunks_.size()))
        chunks_.push_back(std::make_unique_for_overwrite<Packed[]>(std::size_t{1} << kChunkShift));
    chunks_.back()[size_ & ((1 << kChunkShift) - 1)] = {
        static_cast<std::uint32_t>(time), static_cast<std::int32_t>(milliValue),
        static_cast<std::uint16_t>(r.count), static_cast<std::int16_t>(skew)};

    const std::uint32_t gap = sameRun ? static_cast<std::uint32_t>(time - lastTime) : 0;
    if (sameRun) {
        const std::size_t counted = std::min<std::size_t>(gap, kLongestCountedIntervalMs);
        if (counted >= intervalCounts_.size()) intervalCounts_.resize(counted + 1);
        ++intervalCounts_[counted];
    }
    summarise(size_, static_cast<std::int32_t>(milliValue), gap);
    if (r.milliLux) ++luxReadings_;
    if (!last_) last_ = std::make_unique<LoggedReading>();
    *last_ = r;
    ++size_;
    return true;
}

void RunReadings::summarise(qint64 i, std::int32_t value, std::uint32_t gap) {
    const auto offset = static_cast<std::uint8_t>(i % kBlock);
    if (offset == 0) {
        blocks_.push_back({value, value, gap, 0, 0, static_cast<double>(value), 0});
        return;
    }
    Block& block = blocks_.back();
    if (value < block.minimum) block.minimum = value, block.minimumAt = offset;
    if (value > block.maximum) block.maximum = value, block.maximumAt = offset;
    block.largestGapMs = std::max(block.largestGapMs, gap);
    // Welford's update: the spread stays exact where the values are large and close together.
    const double delta = value - block.mean;
    block.mean += delta / (offset + 1);
    block.squares += delta * (value - block.mean);
}

const RunReadings::Packed& RunReadings::at(qint64 i) const {
    return chunks_[static_cast<std::size_t>(i >> kChunkShift)][i & ((1 << kChunkShift) - 1)];
}

const RunReadings::Segment& RunReadings::segmentOf(qint64 i) const {
    const auto after = std::upper_bound(segments_.begin(), segments_.end(), i,
                                        [](qint64 index, const Segment& s) { return index < s.first; });
    return *(after - 1);
}

LoggedReading RunReadings::reading(qint64 i) const {
    const Packed& packed = at(i);
    const Segment& segment = segmentOf(i);
    LoggedReading r;
    r.clockMs = segment.clockBase + packed.timeMs + packed.clockSkewMs;
    r.elapsedMs = segment.elapsedBase + packed.timeMs;
    r.seq = segment.seqBase + i;
    r.count = packed.count;
    if (segment.hasLux) r.milliLux = packed.milliValue;
    r.rangeLux = segment.rangeLux;
    r.resolutionBits = segment.resolutionBits;
    r.mode = segment.mode;
    return r;
}

qint64 RunReadings::firstAtOrAfter(double time) const {
    qint64 low = 0;
    qint64 high = size_;
    while (low < high) {
        const qint64 middle = low + (high - low) / 2;
        if (timeMs(middle) < time) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low;
}

std::uint32_t RunReadings::usualIntervalMs() const {
    qint64 total = 0;
    for (std::uint32_t n : intervalCounts_) total += n;
    qint64 seen = 0;
    for (std::size_t ms = 0; ms < intervalCounts_.size(); ++ms) {
        seen += intervalCounts_[ms];
        if (2 * seen >= total) return static_cast<std::uint32_t>(ms);
    }
    return 0;
}
