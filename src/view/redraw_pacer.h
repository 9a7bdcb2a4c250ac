#pragma once

#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "platform/clock.h"

// Paces the redraws of a run followed as it is taken: at most five a second, and never more than
// 0.1 % of a core on average in the redraws as timed here (the plot and its statistics painted and
// handed to the window system), whatever they cost on this machine. The window system's own work and the
// rows handed over come on top: the view's whole share beside the panel collecting at 100 ms is to stay
// within 0.3 points of a core (bench/, the history view's benchmark). A redraw never runs inside the row's
// own call, but at the next turn of the event loop (the collection loop's wait for its next reading); what
// arrives during a pause is drawn by the next redraw, and the run's end draws what still waits.
class RedrawPacer : public QObject {
    Q_OBJECT
public:
    static constexpr std::uint32_t kShortestPauseMs = 200;
    static constexpr double kMostShareOfACore = 0.001;

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
    std::uint32_t lastMs_ = 0;  // when the last redraw was due
    double costMs_ = 0;         // a redraw's cost, smoothed over the last few
    bool askedOnce_ = false;
    bool waiting_ = false;
};
