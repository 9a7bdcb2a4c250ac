#pragma once

#include <QTimer>
#include <QWidget>

#include "demo/fault_frame.h"
#include "demo/interrupt_frame.h"
#include "demo/light_frame.h"
#include "demo/report_log_frame.h"
#include "platform/clock.h"
#include "sim/light_source.h"
#include "sim/sim_bus.h"

// "Simulated Evaluation Board": the demo's board as an instrument. The light, the INT line, faults on
// demand and the log of reports, for a trainer or a tester to drive while the program runs on it.
// Every control acts on the board only through the board's own interface.
class BoardWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 250;

    // Puts the board under `initialLight` at once.
    BoardWindow(sim::SimBus& bus, sim::SimBoard& board, Clock& clock, const sim::LightSetting& initialLight);

    LightFrame* light;
    InterruptFrame* interrupt;
    FaultFrame* faults;
    ReportLogFrame* reports;
    QTimer* refreshTimer;

    // Brings the shown state (count, INT line, pending faults, log) up to date; the timer calls it.
    void refresh();
    // Top right of the screen, out of the way; the program moves it beside its panel when that opens.
    void placeAtTheRightEdge();
};
