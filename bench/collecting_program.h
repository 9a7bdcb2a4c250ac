#pragma once

#include <functional>

#include "sensor/frmTolvane.h"
#include "shell/frmStartup.h"
#include "shell/program.h"
#include "sim/sim_bus.h"
#include "tests/doubles/test_services.h"

// A complete program on one simulated board with the panel open, interrupt polling off, so a sample is
// exactly one read of R4..R5.
class CollectingProgram {
public:
    CollectingProgram(Clock& clock, DueTimeWait& wait, sim::Timing timing)
        : bus_(clock, timing), busy_(clock), services_{clock, events_,   dialogs_, exit_,
                                                       wait,  calendar_, busy_} {
        board_ = &bus_.addBoard();
        board_->chip.setLight(sim::LightSource::wave(400, 250, 20000, 4, 2019));
        program_.start();
        program_.startup().cboDeviceSelect->setCurrentIndex(1);
        panel().ChkIpol->setChecked(false);
        // As on a desktop the panel fits: the whole panel, no scroll bars (the offscreen screen is small).
        panel().resize(panel().fullSize());
    }

    frmTolvane& panel() { return program_.panel(); }
    // Ticks "Log every reading", with the record file (and so the log) in `folder`.
    void logEveryReading(const QString& folder) {
        panel().acquisition().record->txtFilePath->setText(folder + "/Data.txt");
        panel().acquisition().record->chkLogEveryReading->setChecked(true);
    }
    BoardLink& link() { return program_.link; }
    sim::SimBus& bus() { return bus_; }
    sim::SimBoard& board() { return *board_; }

    // Collects until `samples` are stored; `onSample` runs once for each stored sample.
    void collect(const char* interval, int samples, const std::function<void()>& onSample = {}) {
        const SampleHistory& history = panel().acquisition().history;
        collectCounting(
            interval, samples, [&] { return long{history.SampleIndex}; },
            [&](long) {
                if (onSample) onSample();
            });
    }

    // Collects for `samples` samples, past the history's last index too: the board counts them, as a
    // sample is one report. `onSample` gets the number of each one.
    void collectPastTheHistory(const char* interval, long samples,
                               const std::function<void(long)>& onSample) {
        const auto reports = [this] { return static_cast<long>(board_->received.size()); };
        long first = -1;
        collectCounting(
            interval, samples,
            [&] {
                if (first < 0) first = reports();
                return reports() - first;
            },
            onSample);
    }

private:
    sim::SimBus bus_;
    sim::SimBoard* board_ = nullptr;
    TestEventPump events_;
    ScriptedDialogs dialogs_;
    RecordingExit exit_;
    FixedCalendar calendar_;
    RecordingBusyIndicator busy_;
    Services services_;
    Program program_{services_, bus_};

    // Collects until `count`, asked while the run goes, reaches `samples`; `onSample` gets each new count.
    void collectCounting(const char* interval, long samples, const std::function<long()>& count,
                         const std::function<void(long)>& onSample) {
        panel().acquisition().collection->txtInterval->setText(interval);
        long seen = 0;
        events_.meanwhile = [&] {
            if (!panel().acquisition().loop.collecting()) return;
            const long counted = count();
            if (counted == seen) return;
            seen = counted;
            onSample(counted);
            if (counted >= samples) panel().cmdStopData_Click();
        };
        panel().cmdCollectData_Click();
        events_.meanwhile = nullptr;
    }
};
