#include "acquisition/chart_frame.h"

#include <QGridLayout>

#include "common/event_hooks.h"
#include "common/number_text.h"
#include "common/widget_factories.h"

namespace {

constexpr QSize kLabelPictureSize(484, 360);
constexpr QSize kPlotPictureSize(404, 304);
constexpr QPoint kPlotPosition(52, 20);
// Automatic re-scale needs a settled run and a reading the scale can hold.
constexpr int kAutoScaleMinSamples = 16;
constexpr double kAutoScaleCeiling = 50000;
constexpr double kAutoScaleHeadroom = 1.15;

}  // namespace

ChartFrame::ChartFrame(StripChart& chart, SampleHistory& history, Services& services,
                       CollectionFrame& collection, std::function<void()> stop, std::function<void()> restart)
    : chart_(chart),
      history_(history),
      services_(services),
      collection_(collection),
      stop_(std::move(stop)),
      restart_(std::move(restart)) {
    Picture2 = new PictureBox(kLabelPictureSize, PictureBox::Border::None, palette().color(QPalette::Window));
    Picture1 = new PictureBox(kPlotPictureSize, PictureBox::Border::Sunken, Qt::white, Picture2);
    Picture1->move(kPlotPosition);
    Picture1->setToolTip("Real Time Graph Display of Light Level.");

    cmdAutoScale = new QPushButton("Automatic Re-Scale");
    cmdAutoScale->setToolTip(
        "If measurements are executing, click here for an automatic calculation of the Graph Scaling.");
    cmdScale = new QPushButton("Manual Re-Scale");
    cmdScale->setToolTip("Updates Graph Scaling based on value enter into the \"Scale Max\" entry box.");
    lblTrig = new QLabel("Scale Max");
    // "toa" stays: we keep our texts letter for letter, typos too.
    txtScale = fixedWidthBox("25000", 7,
                             "Enter a number here followed by the \"Enter\" key to set the Max range toa "
                             "specific number.");

    lblTrig->setBuddy(txtScale);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Picture2, 0, 0, 1, 5);
    grid->addWidget(cmdAutoScale, 1, 0);
    grid->addWidget(cmdScale, 1, 1);
    grid->addWidget(lblTrig, 1, 2);
    grid->addWidget(txtScale, 1, 3);
    grid->setColumnStretch(4, 1);

    connect(cmdAutoScale, &QPushButton::clicked, this, &ChartFrame::cmdAutoScale_Click);
    connect(cmdScale, &QPushButton::clicked, this, &ChartFrame::cmdScale_Click);
    onMouseUp(txtScale, [this] { txtScale_Click(); });
    onKeyPress(collection_.txtInterval, [this](int key) { txtInterval_KeyPress(key); });
    // Focus leaves the box while the press or key that moved it is still being delivered: the user's
    // input behind it (the release of that very click) waits until the handler is done, so the clicked
    // control gets its whole click after the relabelling, as the user meant it.
    onFocusOut(collection_.txtInterval, [this] {
        const EventPump::InputHeld held(services_.events);
        txtInterval_LostFocus();
    });
}

void ChartFrame::initialise() {
    if (const auto interval = collection_.interval()) chart_.TimeLabels = chart::timeLabels(*interval);
    // A hair above the typed scale, so a typed x.5 rounds up here.
    if (const auto scale = roundToInt32(numericValue(txtScale->text()) + 0.00001)) chart_.ScaleMax = *scale;
    chart_.ValueLabels = chart::valueLabels(chart_.ScaleMax);
    chart_.resetTrace(1, chart::kTraceColumns - 1);
    chart_.DrawGrid(*Picture1);
    chart_.DrawGridLabels2(*Picture2, *Picture1);
    chart_.CaptureChartBackground(*Picture1);
}

void ChartFrame::cmdAutoScale_Click() {
    if (history_.SampleIndex < kAutoScaleMinSamples) return;
    const double last = history_.AdcHistory[static_cast<std::size_t>(history_.SampleIndex - 1)];
    if (!(last > 0 && last < kAutoScaleCeiling)) return;
    txtScale->setText(signedDecimal(history_.PlotValue * kAutoScaleHeadroom));
    services_.events.processEvents();
    takeScale();
    relabelScale();
    restart_();
}

void ChartFrame::cmdScale_Click() {
    takeScale();
    relabelScale();
    restart_();
}

void ChartFrame::txtScale_Click() {
    stop_();
    services_.events.processEvents();
}

void ChartFrame::txtInterval_KeyPress(int KeyAscii) {
    if (KeyAscii != 13) return;
    txtInterval_LostFocus();
    services_.events.processEvents();
    restart_();
}

void ChartFrame::txtInterval_LostFocus() {
    // An interval that does not fit keeps the labels of the last one that did.
    const auto interval = collection_.interval();
    stop_();
    services_.events.processEvents();
    if (interval) chart_.TimeLabels = chart::timeLabels(*interval);
    chart_.DrawGridLabels2(*Picture2, *Picture1);
    emptyPlot();
}

void ChartFrame::takeScale() {
    if (const auto scale = roundToInt32(numericValue(txtScale->text()))) chart_.ScaleMax = *scale;
    stop_();
    services_.events.processEvents();
}

void ChartFrame::relabelScale() {
    chart_.ValueLabels = chart::valueLabels(chart_.ScaleMax);
    chart_.DrawGridLabels2(*Picture2, *Picture1);
    emptyPlot();
}

void ChartFrame::emptyPlot() {
    chart_.resetTrace(0, chart::kNewestColumn);
    chart_.ClearChart(*Picture1);
}
