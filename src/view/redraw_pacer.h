#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "platform/clock.h"

// Paces the redraws of a run followed as it is taken: at most five a second, and never more than
// 0.3 % of a core on average, whatever a redraw costs on this machine, so the panel collecting beside
// the view keeps its time. A redraw never runs inside the row's own call, but at the next turn of the
// event loop (the collection loop's wait for its next reading); what arrives during a pause is drawn by
// the next redraw, and the run's end draws what still waits.
class RedrawPacer : public QObject {
    Q_OBJECT
public:
    static constexpr std::uint32_t kShortestPauseMs = 200;
    static constexpr double kMostShareOfACore = 0.003;

    RedrawPacer(Clock& clock, std::function<void()> redraw);

    // Something new to show.
    void changed();
    // Draws now what waits (the run has ended).
    void flush();

private:
    void redraw();

    Clock& clock_;
    std::function<void()> redraw_;
    QTimer nextTurn_;
    std::uint32_t lastMs_ = 0;
    double costMs_ = 0;  // a redraw's cost, smoothed over the last few
    bool drawnOnce_ = false;
    bool waiting_ = false;
};
