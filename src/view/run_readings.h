#pragma once

#include <QtGlobal>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "readinglog/reading_csv.h"

// What the view shows of a span of readings.
struct SpanStatistics {
    qint64 readings = 0;
    // Of the plotted value: lux, or the count where a row has none.
    double minimum = 0;
    double mean = 0;
    double maximum = 0;
    double deviation = 0;  // the sample standard deviation
    // Between successive readings of a run (runs appended to one file are apart, not a gap).
    double meanIntervalMs = 0;
    std::uint32_t largestGapMs = 0;
    // Readings the schedule would have taken in the span that are not there, counted at the run's
    // usual interval (the median of its intervals, `scheduleMs`): a schedule that falls behind and
    // catches up misses none, one that drifts misses what it lost.
    qint64 missed = 0;
    std::uint32_t scheduleMs = 0;
};

// A point of the plotted line: when (ms since the run's first reading) and the value.
struct PlotPoint {
    double timeMs;
    double value;
};

// The readings of one run as the view holds them: 12 bytes a reading, and a summary of each block of
// 64 (extremes, mean and spread, largest gap) that redraws and statistics read instead of the
// readings, so both stay quick at any zoom on a day at 10 ms (8.64 M readings).
//
// A reading's time is the milliseconds since the run's first reading, by the elapsed column; where
// that goes back (runs appended to one file) time goes on by the time column across the seam.
class RunReadings {
public:
    RunReadings();
    ~RunReadings();
    RunReadings(const RunReadings&) = delete;
    RunReadings& operator=(const RunReadings&) = delete;

    // Appends a reading; false when the view cannot hold it, more than 49 days after the first.
    bool add(const LoggedReading& reading);

    qint64 size() const { return size_; }
    std::uint32_t timeMs(qint64 i) const { return at(i).timeMs; }
    // Lux; the count where the row has none (D2 alone).
    double value(qint64 i) const { return at(i).milliValue / 1000.0; }
    bool anyLux() const { return luxReadings_ > 0; }
    bool allLux() const { return luxReadings_ == size_; }
    // The reading with every field as its row holds it.
    LoggedReading reading(qint64 i) const;
    // The first reading at or after `timeMs` (size() when there is none).
    qint64 firstAtOrAfter(double timeMs) const;

    // Of the readings [first, last).
    SpanStatistics statistics(qint64 first, qint64 last) const;
    // The line that draws the readings from `fromMs` to `toMs` on `columns` pixel columns: each
    // column's lowest and highest reading in the order taken (a column's only reading as itself), and
    // the nearest reading beyond each edge, so that the line runs on out of sight.
    std::vector<PlotPoint> outline(double fromMs, double toMs, int columns) const;

private:
    struct Packed {
        std::uint32_t timeMs;
        std::int32_t milliValue;  // the plotted value x 1000
        std::uint16_t count;
        std::int16_t clockSkewMs;  // the time column's ms beyond its segment's clock base + timeMs
    };
    // A stretch of readings whose other fields follow from their index and time.
    struct Segment {
        qint64 first;        // its first reading
        qint64 elapsedBase;  // elapsed_ms - timeMs
        qint64 clockBase;
        qint64 seqBase;  // seq - index
        int rangeLux;
        int resolutionBits;
        Measurement mode;
        bool hasLux;
    };
    struct Block {
        std::int32_t minimum;
        std::int32_t maximum;
        std::uint32_t largestGapMs;  // ending at one of its readings
        std::uint8_t minimumAt;
        std::uint8_t maximumAt;
        double mean;     // of the milli values
        double squares;  // the sum of squared differences from the mean
    };
    struct Extremes {
        qint64 minimumAt = -1;
        qint64 maximumAt = -1;
    };
    static constexpr int kChunkShift = 16;
    static constexpr qint64 kBlock = 64;

    const Packed& at(qint64 i) const;
    const Segment& segmentOf(qint64 i) const;
    void summarise(qint64 i, std::int32_t value, std::uint32_t gap);
    std::uint32_t usualIntervalMs() const;
    // The readings and blocks [first, last) is made of: readings at its ragged ends, whole blocks
    // between them.
    template <typename OnReading, typename OnBlock>
    void walk(qint64 first, qint64 last, OnReading onReading, OnBlock onBlock) const;
    Extremes extremes(qint64 first, qint64 last) const;
    // The mean interval and the missed readings of [first, last), run by run.
    void intervals(qint64 first, qint64 last, SpanStatistics& statistics) const;

    std::vector<std::unique_ptr<Packed[]>> chunks_;
    std::vector<Segment> segments_;
    std::vector<Block> blocks_;
    std::vector<qint64> runStarts_;
    std::vector<std::uint32_t> intervalCounts_;  // how often each interval in ms occurs, for the usual one
    qint64 size_ = 0;
    qint64 luxReadings_ = 0;
    std::unique_ptr<LoggedReading> last_;
};
