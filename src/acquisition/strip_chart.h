#pragma once

#include <QColor>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "acquisition/chart_math.h"
#include "common/picture_box.h"
#include "platform/event_pump.h"

// The scrolling strip chart: its state and its drawing. The empty chart with its grid is captured
// once as the background; the trace is drawn over it, and scrolling restores only the background
// pixels the trace leaves.
class StripChart {
public:
    static constexpr int kBackgroundSize = 405;  // ChartBackground columns and rows

    explicit StripChart(EventPump& events) : events_(events) {}

    std::array<std::int32_t, chart::kTraceColumns> TraceY{};
    std::int32_t PlotStart = chart::kNewestColumn;
    std::int32_t ScaleMax = 0;
    // Colour of pixel (column, row) of the empty chart, at column * kBackgroundSize + row.
    std::vector<QRgb> ChartBackground = std::vector<QRgb>(kBackgroundSize * kBackgroundSize, 0);
    QRgb TraceColour = qRgb(255, 0, 0);
    std::array<QString, chart::kLabelCount> TimeLabels;
    std::array<QString, chart::kLabelCount> ValueLabels;

    // TraceY(first..last) = 1.
    void resetTrace(int first, int last);

    // Black grid lines, ten divisions each way, drawn through the whole-image transfer.
    void DrawGrid(PictureBox& picture);
    // Clears the label picture and prints the value labels, the time labels and the caption line
    // around the plot picture.
    void DrawGridLabels2(PictureBox& labels, const PictureBox& plot);
    // ChartBackground = the plot's pixels, columns 0..width - 1, rows 0..height.
    void CaptureChartBackground(const PictureBox& picture);
    // Repaints the plot from ChartBackground and refreshes it.
    void ClearChart(PictureBox& picture);
    // Moves the trace one column left from element `start` and redraws the columns that change.
    void ScrollPlot(PictureBox& picture, std::int32_t start);

private:
    QRgb background(int column, int row) const;
    // Rows from..to of one column back to the background; rows outside the picture are skipped.
    void eraseRows(PixelView& pixels, int column, int from, int to) const;
    EventPump& events_;
    // The columns of the empty chart that differ from the column to their right (beside each vertical
    // grid line): where the trace moves left, they cannot just take what their neighbour showed.
    std::vector<int> backgroundSteps_;
};
