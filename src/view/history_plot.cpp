#include "view/history_plot.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "view/reading_text.h"

namespace {

// Colours that stay apart on white and from each other.
const QColor kRunColours[] = {{31, 119, 180},  {214, 39, 40}, {44, 160, 44},   {255, 127, 14},
                              {148, 103, 189}, {140, 86, 75}, {227, 119, 194}, {23, 190, 207}};
// A followed run's time axis reaches this far beyond its newest reading, so that the axis moves only
// now and then and most redraws draw the lines alone.
constexpr double kFollowHeadroom = 1.25;
constexpr double kValueMargin = 0.05;
constexpr double kShortestWholeRunMs = 1000;
// Below this span the time axis shows milliseconds.
constexpr double kMillisecondsBelowMs = 10'000;
// Room for the value axis's widest labels: a margin that followed them would shift the time axis under
// the pointer as the values on screen change.
const QMargins kLeastMargins(96, 12, 12, 12);
const QString kLinesLayer = QStringLiteral("lines");

}  // namespace

HistoryPlot::HistoryPlot(QWidget* parent) : QCustomPlot(parent) {
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    axisRect()->setRangeDrag(Qt::Horizontal);
    axisRect()->setRangeZoom(Qt::Horizontal);
    xAxis->setTicker(QSharedPointer<QCPAxisTickerTime>::create());
    xAxis->setLabel("Time since the first reading");
    legend->setVisible(true);
    axisRect()->setMinimumMargins(kLeastMargins);
    // The lines have a layer of their own: while a followed run grows inside the axes, only it is drawn.
    addLayer(kLinesLayer, layer("main"), limAbove);
    layer(kLinesLayer)->setMode(QCPLayer::lmBuffered);
    tracer_ = new QCPItemTracer(this);
    tracer_->setLayer("overlay");
    tracer_->setStyle(QCPItemTracer::tsCircle);
    tracer_->setSize(9);
    tracer_->setVisible(false);
    setMouseTracking(true);
    connect(xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this, &HistoryPlot::spanMoved);
}

int HistoryPlot::addRun(const QString& name, std::shared_ptr<const RunReadings> readings) {
    QCPGraph* graph = addGraph();
    graph->setLayer(kLinesLayer);
    graph->setPen(QPen(kRunColours[runs_.size() % std::size(kRunColours)]));
    runs_.push_back({name, nullptr, graph});
    replaceRun(static_cast<int>(runs_.size()) - 1, name, std::move(readings));
    return static_cast<int>(runs_.size()) - 1;
}

void HistoryPlot::replaceRun(int place, const QString& name, std::shared_ptr<const RunReadings> readings) {
    Run& run = runs_.at(static_cast<std::size_t>(place));
    run.name = name;
    run.readings = std::move(readings);
    run.graph->setName(name);
    showWholeRuns();
}

double HistoryPlot::spanFromMs() const {
    return xAxis->range().lower * 1000;
}

double HistoryPlot::spanToMs() const {
    return xAxis->range().upper * 1000;
}

std::pair<qint64, qint64> HistoryPlot::readingsOnScreen(int place) const {
    const RunReadings& readings = *runs_.at(static_cast<std::size_t>(place)).readings;
    // Times are whole milliseconds: a reading at the right edge is on screen.
    return {readings.firstAtOrAfter(spanFromMs()), readings.firstAtOrAfter(std::floor(spanToMs()) + 1)};
}

void HistoryPlot::showWholeRuns() {
    following_ = true;
    setSpan(0, std::max(newestMs(), kShortestWholeRunMs));
    redrawLines(false);
    emit spanChanged();
    replot(rpImmediateRefresh);
}

void HistoryPlot::readingsAdded() {
    bool axesMoved = false;
    if (following_ && newestMs() > spanToMs()) {
        setSpan(0, newestMs() * kFollowHeadroom);
        axesMoved = true;
    }
    axesMoved = redrawLines(true) || axesMoved;
    emit spanChanged();
    // Painted with the rest of the window: the statistics change with every redraw too.
    if (axesMoved) {
        replot(rpQueuedRefresh);
    } else {
        layer(kLinesLayer)->replot();
    }
}

void HistoryPlot::spanMoved() {
    if (settingSpan_) return;
    following_ = false;  // the user has zoomed or panned
    redrawLines(false);
    emit spanChanged();
}

void HistoryPlot::setSpan(double fromMs, double toMs) {
    settingSpan_ = true;
    xAxis->setRange(fromMs / 1000, toMs / 1000);
    settingSpan_ = false;
}

bool HistoryPlot::redrawLines(bool valueAxisOnlyGrows) {
    const double from = spanFromMs();
    const double to = spanToMs();
    qSharedPointerCast<QCPAxisTickerTime>(xAxis->ticker())
        ->setTimeFormat(to - from < kMillisecondsBelowMs ? "%h:%m:%s.%z" : "%h:%m:%s");
    yAxis->setLabel(valueAxisLabel());
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (Run& run : runs_) {
        QVector<QCPGraphData> data;
        for (const PlotPoint& point : run.readings->outline(from, to, std::max(1, width()))) {
            data.append(QCPGraphData(point.timeMs / 1000, point.value));
            low = std::min(low, point.value);
            high = std::max(high, point.value);
        }
        run.graph->data()->set(data, true);
    }
    if (low > high) return false;
    const double margin = high > low ? (high - low) * kValueMargin : std::max(1.0, high * kValueMargin);
    QCPRange wanted(low - margin, high + margin);
    const QCPRange now = yAxis->range();
    if (valueAxisOnlyGrows) {
        if (now.lower <= low && now.upper >= high) return false;
        wanted = QCPRange(std::min(now.lower, wanted.lower), std::max(now.upper, wanted.upper));
    }
    yAxis->setRange(wanted);
    return true;
}

QString HistoryPlot::valueAxisLabel() const {
    bool anyLux = false;
    bool allLux = true;
    for (const Run& run : runs_) {
        anyLux = anyLux || run.readings->anyLux();
        allLux = allLux && run.readings->allLux();
    }
    return valueName(anyLux || newestMs() == 0, allLux, QStringLiteral("Illuminance (lux)"),
                     QStringLiteral("Count"));
}

double HistoryPlot::newestMs() const {
    double newest = 0;
    for (const Run& run : runs_)
        if (run.readings->size() > 0)
            newest = std::max<double>(newest, run.readings->timeMs(run.readings->size() - 1));
    return newest;
}

void HistoryPlot::mouseDoubleClickEvent(QMouseEvent* event) {
    QCustomPlot::mouseDoubleClickEvent(event);
    showWholeRuns();
}

void HistoryPlot::mouseMoveEvent(QMouseEvent* event) {
    QCustomPlot::mouseMoveEvent(event);
    showReadout(event->position());
}

void HistoryPlot::leaveEvent(QEvent* event) {
    QCustomPlot::leaveEvent(event);
    tracer_->setVisible(false);
    readout_.clear();
    emit readoutChanged(readout_);
    layer("overlay")->replot();
}

void HistoryPlot::resizeEvent(QResizeEvent* event) {
    QCustomPlot::resizeEvent(event);
    redrawLines(false);
}

void HistoryPlot::showReadout(QPointF at) {
    const Run* nearestRun = nullptr;
    qint64 nearest = -1;
    double nearestPixels = std::numeric_limits<double>::infinity();
    const double ms = xAxis->pixelToCoord(at.x()) * 1000;
    for (const Run& run : runs_) {
        const qint64 after = run.readings->firstAtOrAfter(ms);
        for (qint64 i : {after - 1, after}) {
            if (i < 0 || i >= run.readings->size()) continue;
            const double pixels = std::hypot(xAxis->coordToPixel(run.readings->timeMs(i) / 1000.0) - at.x(),
                                             yAxis->coordToPixel(run.readings->value(i)) - at.y());
            if (pixels < nearestPixels) nearestPixels = pixels, nearestRun = &run, nearest = i;
        }
    }
    tracer_->setVisible(nearestRun != nullptr);
    if (nearestRun) {
        tracer_->setPen(nearestRun->graph->pen());
        tracer_->position->setCoords(nearestRun->readings->timeMs(nearest) / 1000.0,
                                     nearestRun->readings->value(nearest));
        readout_ = readoutText(nearestRun->name, *nearestRun->readings, nearest);
    } else {
        readout_.clear();
    }
    emit readoutChanged(readout_);
    layer("overlay")->replot();
}
