#pragma once

#include <functional>
#include <string>
#include <vector>

#include "sim/light_source.h"
#include "tests/sensor/panel_fixture.h"

// The panel collecting against the simulated board on the fake clock. The chip sees a constant
// 100 lux: with the load's options (D1, 16 bits, 1k range) it counts 6554.
class CollectionTest : public PanelTest {
protected:
    static constexpr int kCount = 6554;

    CollectionTest() { chip().setLight(sim::LightSource::constant(100)); }

    Acquisition& wing() { return panel().acquisition(); }
    CollectionFrame& frame() { return *wing().collection; }
    SampleHistory& history() { return wing().history; }

    // Starts collection (with `start`, or "Collect" when none is given) and lets `meanwhile` act
    // whenever the loop lets window events run; the run goes on until `meanwhile` or the loop ends it.
    void collect(std::function<void()> meanwhile, std::function<void()> start = {});
    // Collects until `samples` are stored: the stop comes during the next wait, so that pass reads
    // once more without storing.
    void collectSamples(int samples, std::function<void()> meanwhile = {});

    // The board's clock times of the collection loop's ADC reads since `from`.
    std::vector<std::uint32_t> adcReadTimes(std::size_t from);
};
