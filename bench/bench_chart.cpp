// The strip chart's per-sample cost: scrolling a full-width trace, which restores only the pixels
// the trace leaves, against repainting the whole 400 x 300 interior.
#include <benchmark/benchmark.h>

#include <cmath>

#include "acquisition/chart_math.h"
#include "acquisition/strip_chart.h"
#include "common/picture_box.h"
#include "platform/event_pump.h"

namespace {

struct Chart {
    EventPump events;
    PictureBox plot{QSize(404, 304), PictureBox::Border::Sunken, Qt::white};
    StripChart chart{events};

    Chart() {
        chart.resetTrace(0, chart::kTraceColumns - 1);
        chart.DrawGrid(plot);
        chart.CaptureChartBackground(plot);
    }
};

// A slow wave: a few rows of change per column.
std::int32_t waveRow(int n) {
    return static_cast<std::int32_t>(std::lround(150 + 120 * std::sin(n * 0.03)));
}

void BM_ScrollPlotFullWidth(benchmark::State& state) {
    Chart c;
    int n = 0;
    for (; n < chart::kNewestColumn; ++n) {  // fill the width first
        c.chart.TraceY[chart::kNewestColumn] = waveRow(n);
        c.chart.ScrollPlot(c.plot, 1);
    }
    for (auto _ : state) {
        c.chart.TraceY[chart::kNewestColumn] = waveRow(n++);
        c.chart.ScrollPlot(c.plot, 1);
    }
}
BENCHMARK(BM_ScrollPlotFullWidth);

// Without the incremental erase each sample would repaint the interior from the background and draw
// the whole trace again.
void BM_RepaintWholeInterior(benchmark::State& state) {
    Chart c;
    for (auto _ : state) {
        c.chart.ClearChart(c.plot);
        c.chart.ScrollPlot(c.plot, 1);
    }
}
BENCHMARK(BM_RepaintWholeInterior);

}  // namespace
