// The strip chart: where a value plots, its grid, labels and scrolling trace drawn into the panel-sized
// pictures; and the wait for a sample's due time.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QScreen>
#include <cmath>
#include <map>

#include "acquisition/chart_math.h"
#include "acquisition/sample_start.h"
#include "acquisition/strip_chart.h"
#include "tests/doubles/test_event_pump.h"
#include "tests/doubles/test_services.h"

namespace {

TEST(ChartMath, TraceRowMapsTheScaleOntoRows304To1AndValueLabelsCountRoundedTenths) {
    // Row 0 is kept at 1; far above is limited, not overflowed; 303.5 and 302.5 halve to even; a negative
    // scale maps positive values to the bottom; with no scale the point keeps its row.
    const std::tuple<double, std::int32_t, std::optional<std::int32_t>> rows[] = {
        {25000, 25000, 1},
        {0, 25000, 304},
        {12500, 25000, 152},
        {30000, 25000, 1},
        {1e300, 25000, 1},
        {-5, 25000, 304},
        {100, -25000, 304},
        {1, 608, 304},
        {3, 608, 302},
        {100, 0, std::nullopt},
        {std::nan(""), 25000, std::nullopt}};
    for (const auto& [value, scaleMax, row] : rows)
        EXPECT_EQ(chart::traceRow(value, scaleMax), row) << value << " of " << scaleMax;
    // Steps of 2.5 and 3.5 round to 2 and 4; the labels of 25000 show below.
    using Labels = std::array<QString, chart::kLabelCount>;
    EXPECT_EQ(chart::valueLabels(25), (Labels{"0", "2", "4", "6", "8", "10", "12", "14", "16", "18", "20"}));
    EXPECT_EQ(chart::valueLabels(35),
              (Labels{"0", "4", "8", "12", "16", "20", "24", "28", "32", "36", "40"}));
    EXPECT_EQ(chart::valueLabels(-1000),
              (Labels{"0", "-100", "-200", "-300", "-400", "-500", "-600", "-700", "-800", "-900", "-1000"}));
}

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kRed = qRgb(255, 0, 0);

// The chart's two pictures at their panel sizes and a chart drawn into them, without the panel.
struct ChartRig {
    TestEventPump events;
    PictureBox labels{QSize(484, 360), PictureBox::Border::None, Qt::white};
    PictureBox plot{QSize(404, 304), PictureBox::Border::Sunken, Qt::white, &labels};
    StripChart chart{events};

    // The load's chart build at scale 25000 and 100 ms, then a run's start.
    ChartRig() {
        plot.move(52, 20);
        chart.TimeLabels = chart::timeLabels(100);
        chart.ScaleMax = 25000;
        chart.ValueLabels = chart::valueLabels(25000);
        chart.resetTrace(1, 410);
        chart.DrawGrid(plot);
        chart.DrawGridLabels2(labels, plot);
        chart.CaptureChartBackground(plot);
        chart.resetTrace(0, chart::kNewestColumn);
        chart.ClearChart(plot);
        chart.PlotStart = chart::kNewestColumn;
    }
    // What a run does for each counted sample.
    void plotSample(std::int32_t row) {
        chart.TraceY[chart::kNewestColumn] = row;
        chart.ScrollPlot(plot, chart.PlotStart);
        if (chart.PlotStart > 1) --chart.PlotStart;
    }
};

// Grid lines every 40 columns and every 30 rows up from the bottom, in black on white.
bool onGrid(int x, int y) {
    return (x % 40 == 0 && x > 0) || (299 - y) % 30 == 0;
}

// The grid's pixels show under the trace below.
TEST(StripChart, GridHasTenDivisionsEachWayAndShowsAsItGrows) {
    ChartRig rig;
    // One transfer after column 200, one after every 25th column of the horizontal lines, one at the end.
    EXPECT_EQ(rig.events.count(), 1 + 16 + 1);
    // On screen the image lies inside the sunken border: shadow at the top left, light at the bottom right.
    const QImage shown = rig.plot.grab().toImage();
    EXPECT_EQ(shown.pixel(2 + 40, 2 + 1), kBlack);
    EXPECT_EQ(shown.pixel(0, 0), rig.plot.palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(shown.pixel(403, 303), rig.plot.palette().color(QPalette::Light).rgb());
}

// A picture like the labels one with each text printed at its top left corner.
QImage printed(const PictureBox& labels, const std::vector<std::pair<QString, QPoint>>& texts) {
    PictureBox sheet(labels.size(), PictureBox::Border::None, Qt::white);
    sheet.setFont(labels.font());
    for (const auto& [text, at] : texts) {
        sheet.CurrentX = at.x();
        sheet.CurrentY = at.y();
        sheet.Print(text);
    }
    return sheet.image();
}

// The top left corner, within `area`, where the labels show exactly `text` as printed in their font.
std::optional<QPoint> printedAt(const PictureBox& labels, const QString& text, const QRect& area) {
    const QImage want =
        printed(labels, {{text, {0, 0}}}).copy(0, 0, labels.TextWidth(text) + 1, labels.TextHeight(text));
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (labels.image().copy(QRect(QPoint(x, y), want.size())) == want) return QPoint(x, y);
    return std::nullopt;
}

// Value labels up the left side on the grid's rows, time labels under the plot on its columns, oldest
// first, and the caption line under them; a new interval relabels over a cleared picture.
TEST(StripChart, LabelsShowTheScaleTheTimeSpanAndTheCaptionLine) {
    ChartRig rig;
    const QStringList values{"00000", "02500", "05000", "07500", "10000", "12500",
                             "15000", "17500", "20000", "22500", "25000"};
    const std::pair<QStringList, QString> spans[] = {
        {{"40.00", "36.00", "32.00", "28.00", "24.00", "20.00", "16.00", "12.00", "8.00", "4.00", "0.00"},
         "400 Samples, Total Elapsed Time 40.00 Seconds"},
        {{"4.00", "3.60", "3.20", "2.80", "2.40", "2.00", "1.60", "1.20", ".80", ".40", "0.00"},
         "400 Samples, Total Elapsed Time 4.00 Seconds"},
    };
    for (const auto& [times, caption] : spans) {
        SCOPED_TRACE(caption.toStdString());
        if (times[0] == "4.00") {
            rig.chart.TimeLabels = chart::timeLabels(10);
            rig.chart.DrawGridLabels2(rig.labels, rig.plot);
        }
        // Left of the plot between its bottom and the time row; the caption line fits under the times.
        const int valueRight = 51 - rig.labels.TextWidth("25000"),
                  captionBottom = 360 - rig.labels.TextHeight(caption);
        const auto value = printedAt(rig.labels, values[0], QRect(QPoint(0, 305), QPoint(valueRight, 324)));
        const auto time = printedAt(rig.labels, times[0], QRect(0, 325, 100, 1));
        const auto captionAt =
            printedAt(rig.labels, caption, QRect(QPoint(132, 326), QPoint(132, captionBottom)));
        ASSERT_TRUE(value && time && captionAt);
        std::vector<std::pair<QString, QPoint>> texts{{caption, *captionAt}};
        for (int i = 0; i < 11; ++i) {
            texts.push_back({values[i], *value - QPoint(0, 30 * i)});
            texts.push_back({times[i], *time + QPoint(40 * i, 0)});
        }
        EXPECT_EQ(rig.labels.image(), printed(rig.labels, texts));
    }
}

// A counted sample enters at column 402, outside the interior, shows at column 399 three samples later
// and scrolls off after column 0.
TEST(StripChart, ASampleEntersAtTheRightEdgeAndScrollsOffAtColumn0) {
    ChartRig rig;
    const QImage empty = rig.plot.image().copy();
    for (int n = 1; n <= 404; ++n) {
        rig.plotSample(n == 1 ? 100 : 200);
        if (n <= 3) {
            EXPECT_EQ(rig.plot.image(), empty) << n;
        }
        if (n == 4) {
            EXPECT_EQ(rig.plot.image().pixel(399, 100), kRed);
            EXPECT_EQ(rig.plot.image().pixel(398, 100), empty.pixel(398, 100));
        }
        if (n == 403) {
            for (int row : {99, 100, 101}) EXPECT_EQ(rig.plot.image().pixel(0, row), kRed) << row;
        }
    }
    EXPECT_EQ(rig.plot.image().pixel(0, 100), empty.pixel(0, 100));
}

// Each column shows its sample's dot (its row and the rows either side) and the connector to the next
// sample's row, over the grid; what the trace leaves shows the grid again, and rows 300 and below lie
// outside the picture. ClearChart puts back the empty chart.
TEST(StripChart, TheTraceIsDotsAndConnectorsOverTheGrid) {
    using Red = std::map<int, std::pair<int, int>>;  // column: first and last red row
    const struct {
        std::vector<int> rows;
        Red red;
    } stages[] = {
        {{100, 200, 150, 150, 150}, {{398, {99, 200}}, {399, {150, 201}}}},
        {{1, 304, 300, 150, 150, 150},
         {{392, {99, 200}},
          {393, {150, 201}},
          {394, {149, 151}},
          {395, {149, 151}},
          {396, {1, 151}},
          {397, {0, 299}},
          {399, {150, 299}}}},
    };
    ChartRig rig;
    const auto expect = [&](const Red& red) {
        for (int x = 0; x < 400; ++x)
            for (int y = 0; y < 300; ++y) {
                const auto column = red.find(x);
                const bool isRed =
                    column != red.end() && y >= column->second.first && y <= column->second.second;
                ASSERT_EQ(rig.plot.image().pixel(x, y), isRed          ? kRed
                                                        : onGrid(x, y) ? kBlack
                                                                       : kWhite)
                    << x << "," << y;
            }
    };
    for (const auto& stage : stages) {
        for (int row : stage.rows) rig.plotSample(row);
        expect(stage.red);
    }
    rig.chart.ClearChart(rig.plot);
    expect({});
}

// What the window shows of the plot is the plot's image after every sample, wherever the trace moves,
// while the chart fills and once it is full, also when two samples come before one repaint.
TEST(StripChart, TheScreenShowsThePlotAfterEverySample) {
    ChartRig rig;
    rig.labels.show();
    QCoreApplication::processEvents();
    constexpr int border = PictureBox::kSunkenBorderWidth;
    const QPoint plotOnScreen = rig.plot.mapTo(&rig.labels, QPoint(border, border));
    const auto sample = [&rig](int n) {
        rig.plotSample(150 + static_cast<int>(std::lround(145 * std::sin(n / 9.0))));
    };
    for (int n = 0; n < 450; ++n) {
        sample(n);
        if (n % 7 == 0) sample(++n);
        QCoreApplication::processEvents();
        const QImage shown = rig.labels.screen()
                                 ->grabWindow(rig.labels.winId(), plotOnScreen.x(), plotOnScreen.y(),
                                              rig.plot.ScaleWidth(), rig.plot.ScaleHeight())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown, rig.plot.image()) << "sample " << n;
    }
}

// The wait for a sample's due time beyond what the panel's runs show: the window events run once before
// the sleep and what their handlers spend comes off it; an abandoned or late wait ends at once, also
// across the counter's wrap.
TEST(DueTime, EventsRunOnceBeforeTheSleepAndWhatTheyTakeComesOffIt) {
    const struct {
        std::uint32_t start;
        std::int32_t ahead;
        std::uint32_t handlerMs;
        bool abandon;
        std::int32_t endsAt;  // relative to the due time
        int events, sleeps;
    } cases[] = {
        {1000, 100, 0, false, -3, 1, 1},    {1000, 100, 60, false, -3, 1, 1},
        {1000, 100, 98, false, -2, 1, 0},  // no sleep left: the read starts late but at once
        {1000, 1, 0, false, -1, 0, 0},      {1000, -20, 0, false, 20, 0, 0},
        {1000, 3000, 0, true, -3000, 1, 0}, {0xFFFFFFF0u, 100, 0, false, -3, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.ahead << " ms ahead, handlers take " << c.handlerMs);
        TestServices test;
        test.clock.set(c.start);
        test.events.meanwhile = [&] { test.clock.advance(c.handlerMs); };
        const std::uint32_t due = c.start + static_cast<std::uint32_t>(c.ahead);
        const std::uint32_t ended = waitForSampleStart(test.services, due, [&] { return c.abandon; });
        EXPECT_EQ(static_cast<std::int32_t>(ended - due), c.endsAt);
        EXPECT_EQ(test.events.count(), c.events);
        EXPECT_EQ(test.dueTimeWait.waits, c.sleeps);
    }
}

}  // namespace
