#pragma once

#include "acquisition/chart_frame.h"
#include "acquisition/collection_frame.h"
#include "acquisition/collection_host.h"
#include "acquisition/collection_loop.h"
#include "acquisition/live_history.h"
#include "acquisition/record_frame.h"
#include "acquisition/run_log.h"
#include "acquisition/sample_history.h"
#include "acquisition/strip_chart.h"
#include "platform/services.h"

// The panel's collection wing: the run's readings, the strip chart, the collection loop and the three
// frames that show them. The panel owns one, places its frames and reaches the loop through it.
class Acquisition {
public:
    Acquisition(CollectionHost& host, Services& services);

    SampleHistory history;
    StripChart chart;
    // The frames; the panel's layout takes them over.
    CollectionFrame* collection;
    ChartFrame* chartFrame;
    frmDataRecord* record;
    // Every reading of a run to its CSV file, while "Log every reading" is ticked.
    RunLog log;
    // "History...": the history view following the log.
    LiveHistory historyView;
    // The runs, and the one place that knows whether one goes.
    CollectionLoop loop;
};
