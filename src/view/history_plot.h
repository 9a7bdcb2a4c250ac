#pragma once

#include <qcustomplot.h>

#include <memory>
#include <vector>

#include "view/run_readings.h"

// Runs against time, one line each in its own colour, named in the legend; time counts from each
// run's first reading. The mouse wheel zooms the time around the pointer, dragging pans, a
// double-click shows the whole of every run again, and a readout follows the pointer. A redraw hands
// the plot only the lowest and highest reading of each pixel column on screen.
class HistoryPlot : public QCustomPlot {
    Q_OBJECT
public:
    explicit HistoryPlot(QWidget* parent = nullptr);

    struct Run {
        QString name;
        std::shared_ptr<const RunReadings> readings;
        QCPGraph* graph;
    };

    // Adds a run in the next colour; returns its place.
    int addRun(const QString& name, std::shared_ptr<const RunReadings> readings);
    // Puts another run in a run's place, in its colour (the next run of a followed log).
    void replaceRun(int place, const QString& name, std::shared_ptr<const RunReadings> readings);
    const std::vector<Run>& runs() const { return runs_; }

    // The span on screen, in ms since each run's first reading.
    double spanFromMs() const;
    double spanToMs() const;
    // [first, last) readings of a run inside the span on screen.
    std::pair<qint64, qint64> readingsOnScreen(int place) const;

    // Shows every run whole, and keeps it whole as readings come, until the user zooms or pans.
    void showWholeRuns();
    bool following() const { return following_; }
    // Readings have come to a run: draws them (shown at the next repaint), keeping the whole of the runs
    // in sight while following.
    void readingsAdded();

    QString readout() const { return readout_; }

signals:
    // The span on screen or its readings changed: what describes it is out of date.
    void spanChanged();
    void readoutChanged(const QString& text);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void spanMoved();
    // The lines of the span on screen, and the value axis fitted to them; true when the axis moved.
    bool redrawLines(bool valueAxisOnlyGrows);
    void setSpan(double fromMs, double toMs);
    double newestMs() const;
    QString valueAxisLabel() const;
    void showReadout(QPointF at);

    std::vector<Run> runs_;
    QCPItemTracer* tracer_;
    QString readout_;
    bool following_ = true;
    bool settingSpan_ = false;
};
