#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "console/frmMain.h"
#include "sensor/frmTolvane.h"
#include "sim/light_source.h"
#include "tests/support/rig.h"

// One report as a short word: "W02=10" register write, "R00x4" read of four registers from R0, "GP"
// port sample, "LED3" LED set, "Cnn" anything else.
std::string describe(const Report& report);
std::vector<std::string> describe(const std::vector<Report>& reports);

// The panel's pending flags that are set, by short name: "Update Command " and so on.
std::string pendingFlags(const frmTolvane& panel);

// The sensor panel open on a healthy simulated board; at 100 lux the load's options (D1, 16 bits, 1k
// range) count 6554.
class PanelTest : public ::testing::Test {
protected:
    static constexpr int kCount = 6554;

    PanelTest() {
        rig.chooseTolvane();
        chip().setLight(sim::LightSource::constant(100));
    }

    frmTolvane& panel() { return rig.program.panel(); }
    sim::TolvaneChip& chip() { return rig.board().chip; }
    Acquisition& wing() { return panel().acquisition(); }
    CollectionFrame& frame() { return *wing().collection; }
    SampleHistory& history() { return wing().history; }
    std::size_t mark() { return rig.mark(); }
    // What the board received since `from`, described report by report.
    std::vector<std::string> trafficSince(std::size_t from);

    void collect(const std::function<void()>& meanwhile, const std::function<void()>& start = {}) {
        rig.collect(meanwhile, start);
    }
    // Collects until `samples` are stored; the stopped pass reads once more without storing.
    void collectSamples(int samples, const std::function<void()>& meanwhile = {});
    // The board's clock times of the collection loop's ADC reads since `from`.
    std::vector<std::uint32_t> adcReadTimes(std::size_t from);

    Rig rig;
};
