#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "boardlink/board_command.h"
#include "common/hex.h"
#include "console/frmMain.h"
#include "sensor/frmTolvane.h"
#include "sim/light_source.h"
#include "tests/support/rig.h"

// One report as a short word: "W02=10" register write, "R00x4" read of four registers from R0, "GP"
// port sample, "LED3" LED set, "Cnn" anything else.
inline std::string describe(const Report& report) {
    if (report[1] == CMD_I2C_TRANSFER) {
        const bool isRead = (report[2] & 1) != 0;
        const QString reg = report[4] > 0 ? Hex2(report[5]) : "--";
        if (isRead) return QString("R%1x%2").arg(reg).arg(report[3]).toStdString();
        return QString("W%1=%2").arg(reg, Hex2(report[5 + report[4]])).toStdString();
    }
    if (report[1] == CMD_GP_VALUE) return "GP";
    if (report[1] == CMD_LED && report[2] == SUB_SET) return "LED" + std::to_string(report[3]);
    return "C" + std::to_string(report[1]);
}

inline std::vector<std::string> describe(const std::vector<Report>& reports) {
    std::vector<std::string> words;
    for (const Report& report : reports) words.push_back(describe(report));
    return words;
}

// What waits for the collection loop, by short name: "Update Command " and so on.
inline std::string pendingFlags(frmTolvane& p) {
    const DeferredActions& d = p.acquisition().loop.deferred;
    const std::pair<bool, const char*> flags[]{{d.updateWaiting(), "Update "},
                                               {d.waiting(DeferredAction::CommandWrite), "Command "},
                                               {d.waiting(DeferredAction::ControlWrite), "Control "},
                                               {d.waiting(DeferredAction::HighLimitWrite), "High "},
                                               {d.waiting(DeferredAction::LowLimitWrite), "Low "},
                                               {d.waiting(DeferredAction::ClearInt), "ClearInt "},
                                               {d.waiting(DeferredAction::RegisterRead), "RegisterRead "}};
    std::string set;
    for (const auto& [on, name] : flags) set += on ? name : "";
    return set;
}

// Does `act` once while a run on the rig's panel collects, then stops the run.
inline void duringARun(Rig& rig, const std::function<void()>& act) {
    frmTolvane& p = rig.program.panel();
    bool done = false;
    rig.collect([&] {
        if (done || !p.acquisition().loop.collecting()) return;
        done = true;
        act();
        p.cmdStopData_Click();
    });
}

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
    std::vector<std::string> trafficSince(std::size_t from) { return describe(rig.received(from)); }

    void collect(const std::function<void()>& meanwhile, const std::function<void()>& start = {}) {
        rig.collect(meanwhile, start);
    }
    // Collects until `samples` are stored; the stopped pass reads once more without storing.
    void collectSamples(int samples, const std::function<void()>& meanwhile = {}) {
        collect([this, samples, meanwhile] {
            if (meanwhile) meanwhile();
            if (wing().loop.collecting() && history().SampleIndex >= samples) panel().cmdStopData_Click();
        });
    }
    // The board's clock times of the collection loop's ADC reads since `from`.
    std::vector<std::uint32_t> adcReadTimes(std::size_t from) {
        std::vector<std::uint32_t> times;
        for (std::size_t i = from; i < rig.board().received.size(); ++i)
            if (describe(rig.board().received[i].bytes) == "R04x2")
                times.push_back(rig.board().received[i].timeMs);
        return times;
    }

    Rig rig;
};
