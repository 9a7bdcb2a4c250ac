#pragma once

#include <QImage>

#include "acquisition/chart_math.h"
#include "acquisition/strip_chart.h"
#include "common/picture_box.h"
#include "tests/doubles/test_event_pump.h"

// The chart's two pictures at their panel sizes and a chart drawn into them, without the panel.
struct ChartRig {
    TestEventPump events;
    PictureBox labels{QSize(484, 360), PictureBox::Border::None, Qt::white};
    PictureBox plot{QSize(404, 304), PictureBox::Border::Sunken, Qt::white, &labels};
    StripChart chart{events};

    ChartRig() { plot.move(52, 20); }

    // The load's chart build: labels, trace at the top, grid, labels printed, background captured.
    void build(std::int32_t scaleMax = 25000, std::int32_t intervalMs = 100) {
        chart.TimeLabels = chart::timeLabels(intervalMs);
        chart.ScaleMax = scaleMax;
        chart.ValueLabels = chart::valueLabels(scaleMax);
        chart.resetTrace(1, 410);
        chart.DrawGrid(plot);
        chart.DrawGridLabels2(labels, plot);
        chart.CaptureChartBackground(plot);
    }

    // What a collection run does at its start and for each counted sample.
    void startRun() {
        chart.resetTrace(0, chart::kNewestColumn);
        chart.ClearChart(plot);
        chart.PlotStart = chart::kNewestColumn;
    }
    void plotSample(std::int32_t row) {
        chart.TraceY[chart::kNewestColumn] = row;
        chart.ScrollPlot(plot, chart.PlotStart);
        if (chart.PlotStart > 1) --chart.PlotStart;
    }

    QImage backgroundImage() const {
        QImage image(plot.image().size(), QImage::Format_RGB32);
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                image.setPixel(
                    x, y,
                    chart.ChartBackground[static_cast<std::size_t>(x * StripChart::kBackgroundSize + y)]);
        return image;
    }
};
