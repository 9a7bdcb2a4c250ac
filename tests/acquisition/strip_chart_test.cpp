// The strip chart's grid, labels and scrolling trace, drawn into the panel-sized pictures.
#include <gtest/gtest.h>

#include <QPainter>
#include <vector>

#include "tests/acquisition/chart_rig.h"

namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(255, 0, 0);

TEST(StripChart, GridHasTenDivisionsEachWayAndShowsAsItGrows) {
    ChartRig rig;
    rig.chart.DrawGrid(rig.plot);
    const QImage& image = rig.plot.image();
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x) {
            const bool line = (x % 40 == 0 && x > 0) || (299 - y) % 30 == 0;
            ASSERT_EQ(image.pixel(x, y), line ? kBlack : kWhite) << x << "," << y;
        }
    // One transfer after column 200, one after every 25th column of the horizontal lines, one at
    // the end.
    EXPECT_EQ(rig.events.count(), 1 + 16 + 1);
}

// The label picture as a person would print it by hand at the designed places.
QImage expectedLabels(const ChartRig& rig, const QStringList& values, const QStringList& times,
                      const QString& caption) {
    PictureBox sheet(rig.labels.size(), PictureBox::Border::None, Qt::white);
    sheet.setFont(rig.labels.font());
    const int th = sheet.TextHeight("Yy");
    const int tw = sheet.TextWidth("W");
    for (int i = 0; i < values.size(); ++i) {
        sheet.CurrentX = tw;
        sheet.CurrentY = 304 - 30 * i + th / 1.5;
        sheet.Print(values[i]);
    }
    for (int k = 0; k < times.size(); ++k) {
        sheet.CurrentX = 40 * k + 4 * tw;
        sheet.CurrentY = 325;
        sheet.Print(times[k]);
    }
    sheet.CurrentX = 132;
    sheet.CurrentY = 325 + th + 5;
    sheet.Print(caption);
    return sheet.image();
}

TEST(StripChart, LabelsShowTheScaleTheTimeSpanAndTheCaptionLine) {
    ChartRig rig;
    rig.build(25000, 100);
    const QStringList values{"00000", "02500", "05000", "07500", "10000", "12500",
                             "15000", "17500", "20000", "22500", "25000"};
    EXPECT_EQ(rig.labels.image(), expectedLabels(rig, values,
                                                 {"40.00", "36.00", "32.00", "28.00", "24.00", "20.00",
                                                  "16.00", "12.00", "8.00", "4.00", "0.00"},
                                                 "400 Samples, Total Elapsed Time 40.00 Seconds"));
    EXPECT_LE(325 + 2 * rig.labels.TextHeight("Yy") + 5, 360) << "the caption line fits the picture";

    // A new interval relabels over a cleared picture.
    rig.chart.TimeLabels = chart::timeLabels(10);
    rig.chart.DrawGridLabels2(rig.labels, rig.plot);
    EXPECT_EQ(rig.labels.image(), expectedLabels(rig, values,
                                                 {"4.00", "3.60", "3.20", "2.80", "2.40", "2.00", "1.60",
                                                  "1.20", ".80", ".40", "0.00"},
                                                 "400 Samples, Total Elapsed Time 4.00 Seconds"));

    // Something was printed at all: the fonts are there.
    int inked = 0;
    for (int x = 0; x < 484; ++x)
        for (int y = 325; y < 360; ++y) inked += rig.labels.image().pixel(x, y) != kWhite;
    EXPECT_GT(inked, 100);
}

TEST(StripChart, BackgroundKeepsTheEmptyChartAndClearChartPutsItBack) {
    ChartRig rig;
    rig.build();
    const QImage empty = rig.plot.image().copy();
    EXPECT_EQ(rig.backgroundImage(), empty);
    for (int x = 0; x < 400; ++x)
        EXPECT_EQ(rig.chart.ChartBackground[x * StripChart::kBackgroundSize + 300], 0u)
            << "below the interior";

    rig.startRun();
    for (int row : {10, 200, 150, 290}) rig.plotSample(row);
    for (int i = 0; i < 10; ++i) rig.plot.setPixel(i * 37, i * 29, kRed);
    ASSERT_NE(rig.plot.image(), empty);
    rig.chart.ClearChart(rig.plot);
    EXPECT_EQ(rig.plot.image(), empty);
}

TEST(StripChart, FirstSampleEntersOutsideTheInteriorAndReachesColumn0) {
    ChartRig rig;
    rig.build();
    const QImage empty = rig.plot.image().copy();
    rig.startRun();
    rig.plotSample(100);
    EXPECT_EQ(rig.chart.TraceY[402], 100);
    EXPECT_EQ(rig.plot.image(), empty) << "columns 400..402 lie outside the picture";
    rig.plotSample(200);
    rig.plotSample(200);
    EXPECT_EQ(rig.plot.image(), empty);
    rig.plotSample(200);
    EXPECT_EQ(rig.plot.image().pixel(399, 100), kRed) << "the fourth sample brings the first into view";

    for (int n = 5; n <= 403; ++n) rig.plotSample(200);
    EXPECT_EQ(rig.chart.PlotStart, 1);
    EXPECT_EQ(rig.chart.TraceY[0], 100);
    for (int row : {99, 100, 101}) EXPECT_EQ(rig.plot.image().pixel(0, row), kRed) << row;
    rig.plotSample(200);
    EXPECT_EQ(rig.chart.TraceY[0], 200) << "then it scrolls off";
    EXPECT_EQ(rig.plot.image().pixel(0, 100), empty.pixel(0, 100));
}

TEST(StripChart, AConstantTraceRedrawsOnlyItsDotsAndConnectors) {
    ChartRig rig;
    rig.build();
    const QImage before = rig.plot.image().copy();
    rig.chart.TraceY.fill(150);
    // Any restored background pixel would show green.
    std::fill(rig.chart.ChartBackground.begin(), rig.chart.ChartBackground.end(), qRgb(0, 255, 0));
    for (int i = 0; i < 5; ++i) {
        rig.chart.TraceY[chart::kNewestColumn] = 150;
        rig.chart.ScrollPlot(rig.plot, 1);
    }
    for (int y = 0; y < 300; ++y)
        for (int x = 0; x < 400; ++x)
            ASSERT_EQ(rig.plot.image().pixel(x, y), y >= 149 && y <= 151 ? kRed : before.pixel(x, y))
                << x << "," << y;
}

// The trace drawn directly from TraceY over the background: in each column from `first` on, the dot
// (row - 1..row + 1) and the connector to the next column's row.
QImage directTrace(const ChartRig& rig, int first) {
    QImage image = rig.backgroundImage();
    const auto& traceY = rig.chart.TraceY;
    auto paint = [&](int x, int from, int to) {
        for (int y = std::min(from, to); y <= std::max(from, to); ++y)
            if (image.valid(x, y)) image.setPixel(x, y, kRed);
    };
    for (int c = first; c < image.width(); ++c) {
        paint(c, traceY[c] - 1, traceY[c] + 1);
        paint(c, traceY[c], traceY[c + 1]);
    }
    return image;
}

TEST(StripChart, AScrolledChartLooksLikeItsFinalTraceDrawnFromScratch) {
    ChartRig rig;
    rig.build();
    rig.startRun();
    // Jumps both ways, flat stretches, the top row and rows below the interior.
    auto rowOf = [](int n) { return n % 9 < 3 ? 150 : 1 + (n * 137) % 304; };
    for (int n = 1; n <= 450; ++n) {
        rig.plotSample(rowOf(n));
        if (n == 200 || n == 450) {
            const int first = n >= 403 ? 0 : 403 - n;
            ASSERT_EQ(rig.plot.image(), directTrace(rig, first)) << "after " << n << " samples";
        }
    }
}

}  // namespace
