#pragma once

#include <cstdint>

#include "acquisition/collection_frame.h"
#include "acquisition/collection_host.h"
#include "acquisition/deferred_actions.h"
#include "acquisition/run_log.h"
#include "acquisition/sample_history.h"
#include "acquisition/strip_chart.h"
#include "common/picture_box.h"
#include "platform/services.h"

// The real-time collection: brings the chip into a known state, then reads the ADC count at each
// sample's due time, shows and stores it and scrolls the chart, until it is stopped. Window events run
// while it waits, so any handler can run meanwhile; register changes reach the chip between two samples
// as deferred actions. The run's state lives here alone: the panel and its options read it.
class CollectionLoop {
public:
    CollectionLoop(CollectionHost& host, Services& services, SampleHistory& history, StripChart& chart,
                   CollectionFrame& frame, PictureBox& plot, RunLog& log);

    // Collects until the run is stopped; returns when the run has ended. Called while a run is going
    // (from a handler during its event processing), it asks that run to make way for a new one: the old
    // run stops at once, without a trace, and the new one starts with the full start sequence, going on
    // in the old run's log.
    void collect();
    // Ends a running collection after its current sample, and cancels a new run asked for meanwhile.
    void stop();
    // "Stop" or "Exit" was pressed: the chip stays the loop's until a run starts or ends.
    void requestStop() { stopRequested_ = true; }

    // A run takes samples; stop() ends that after the current one.
    bool collecting() const { return collecting_; }
    // Register actions must wait for the loop: a run collects or is being stopped.
    bool ownsChip() const { return collecting_ || stopRequested_; }
    // Inside collect(), from the chip's start sequence to the run's end.
    bool running() const { return running_; }

    // What handlers asked of the chip while the loop owned it.
    DeferredActions deferred;

private:
    // `restarted`: the program restarts the run, which goes on in its log.
    bool startRun(bool restarted);
    void pass();
    // Between two samples, the deferred actions in their order; each takes itself off the set.
    void performDeferredActions();
    void endRun();
    // The interval box's value; one that does not fit leaves the interval in force.
    void readInterval();
    // Display and chart work of a pass: the count of readings, the chart's scroll, the reading.
    void showSample();
    // A newer run or the program's end has made this run's remaining steps pointless.
    bool superseded() const;

    CollectionHost& host_;
    Services& services_;
    SampleHistory& history_;
    StripChart& chart_;
    CollectionFrame& frame_;
    PictureBox& plot_;
    RunLog& log_;

    bool collecting_ = false;
    bool stopRequested_ = false;
    bool running_ = false;
    bool restartRequested_ = false;
    std::int32_t interval_ = 0;
    std::uint32_t reference_ = 0;
    std::uint32_t due_ = 0;
    std::uint32_t stamp_ = 0;
    qint64 samplesTaken_ = 0;  // in this run, also past the history's last element
};
