#pragma once

#include <memory>

#include "acquisition/record_frame.h"
#include "acquisition/run_log.h"
#include "platform/services.h"

class HistoryWindow;

// "History...": the history view on the run being logged, a window of its own. It follows the log of
// every reading as it is written and stays open across runs, each new run taking the last one's place;
// it goes with the panel.
class LiveHistory {
public:
    LiveHistory(frmDataRecord& record, RunLog& log, Services& services);
    ~LiveHistory();
    LiveHistory(const LiveHistory&) = delete;
    LiveHistory& operator=(const LiveHistory&) = delete;

    // Shows the view (made at the first press) in front, on the run being logged or the last one.
    void show();
    // The view, once shown.
    HistoryWindow* window() const { return window_.get(); }

private:
    RunLog& log_;
    Services& services_;
    std::unique_ptr<HistoryWindow> window_;
};
