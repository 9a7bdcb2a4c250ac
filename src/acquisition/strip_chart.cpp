#include "acquisition/strip_chart.h"

#include <algorithm>
#include <cmath>

#include "acquisition/fast_drawing.h"
#include "common/number_text.h"

namespace {

constexpr int kGridDivisions = 10;
constexpr int kGridShowEvery = 25;    // the grid shows as it grows: a transfer every 25 columns
constexpr int kLabelFontPixels = 11;  // small enough for the caption line to fit under the time axis
constexpr int kTimeLabelRow = 325;
constexpr int kCaptionGap = 5;
constexpr int kTwipsPerPixel = 15;

// Plain rounding of a size (halves to even), 0 if it cannot be done.
int rounded(double value) {
    return roundToInt32(value).value_or(0);
}

void blacken(PixelArray& pixels, int x, int y) {
    for (int colour = 0; colour < 3; ++colour) pixels.at(colour, x, y) = 0;
}

// Sets rows from..to (either order) of one column; rows outside the image are skipped.
void fillColumn(PixelView& pixels, int column, int from, int to, QRgb colour) {
    pixels.fillColumn(column, std::min(from, to), std::max(from, to), colour);
}

}  // namespace

QRgb StripChart::background(int column, int row) const {
    if (column < 0 || column >= kBackgroundSize || row < 0 || row >= kBackgroundSize) return 0;
    return ChartBackground[static_cast<std::size_t>(column * kBackgroundSize + row)];
}

void StripChart::resetTrace(int first, int last) {
    first = std::max(first, 0);
    last = std::min(last, chart::kTraceColumns - 1);
    for (int i = first; i <= last; ++i) TraceY[i] = 1;
}

void StripChart::DrawGrid(PictureBox& picture) {
    FastDrawing drawing(events_);
    const int w = drawing.GetImageWidth(picture);
    const int h = drawing.GetImageHeight(picture);
    PixelArray pixels;
    drawing.GetImageData(picture, pixels);

    // A picture too small for ten divisions gets no lines rather than an endless loop.
    const int dx = rounded(static_cast<double>(w) / kGridDivisions);
    for (int x = dx; dx > 0 && x <= w; x += dx) {
        for (int y = 0; y <= h; ++y) blacken(pixels, x, y);
        if (x % kGridShowEvery == 0) drawing.SetImageData(picture, pixels);
    }
    const int dy = rounded(static_cast<double>(h) / kGridDivisions);
    for (int x = 0; dy > 0 && x <= w; ++x) {
        for (int y = 0; y <= h; y += dy) blacken(pixels, x, y);
        if (x % kGridShowEvery == 0) drawing.SetImageData(picture, pixels);
    }
    drawing.SetImageData(picture, pixels);
}

void StripChart::DrawGridLabels2(PictureBox& labels, const PictureBox& plot) {
    QFont font = labels.font();
    font.setPixelSize(kLabelFontPixels);
    labels.setFont(font);

    const int w = plot.width();
    const int h = plot.height();
    labels.Cls();
    const int th = labels.TextHeight("Yy");
    const int tw = labels.TextWidth("W");

    const int s = h / kGridDivisions;
    for (int i = 0, y = h; s > 0 && y >= 0 && i < chart::kLabelCount; ++i, y -= s) {
        labels.CurrentX = tw;
        labels.CurrentY = y + th / 1.5;
        labels.Print(formatFiveDigits(ValueLabels[i].toLongLong()));
    }

    const int dx = rounded(w / static_cast<double>(kGridDivisions));
    for (int k = 0, x = 0; dx > 0 && x <= w && k < chart::kLabelCount; ++k, x += dx) {
        labels.CurrentX = x + 4 * tw;
        labels.CurrentY = kTimeLabelRow;
        labels.Print(TimeLabels[chart::kLabelCount - 1 - k]);
    }

    labels.CurrentX = rounded(labels.width() * kTwipsPerPixel / 11.0) / 5.0;
    labels.CurrentY += kCaptionGap;
    labels.Print("400 Samples, Total Elapsed Time " + TimeLabels[chart::kLabelCount - 1] + " Seconds");
    labels.Refresh();
}

void StripChart::CaptureChartBackground(const PictureBox& picture) {
    // The store holds 405 x 405: a larger interior keeps only what fits.
    const int columns = std::min(picture.ScaleWidth(), kBackgroundSize);
    const int rows = std::min(picture.ScaleHeight() + 1, kBackgroundSize);
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < rows; ++y)
            ChartBackground[static_cast<std::size_t>(x * kBackgroundSize + y)] =
                picture.pixel(x, y).value_or(0);
    backgroundSteps_.clear();
    for (int x = 0; x + 1 < kBackgroundSize; ++x) {
        const auto column = ChartBackground.begin() + x * kBackgroundSize;
        if (!std::equal(column, column + kBackgroundSize, column + kBackgroundSize))
            backgroundSteps_.push_back(x);
    }
}

void StripChart::ClearChart(PictureBox& picture) {
    PixelView pixels = picture.pixels();
    const int columns = std::min(pixels.width(), kBackgroundSize);
    const int rows = std::min(pixels.height() + 1, kBackgroundSize);
    for (int x = 0; x < columns; ++x)
        for (int y = 0; y < rows; ++y) pixels.set(x, y, background(x, y));
    picture.Refresh();
}

void StripChart::ScrollPlot(PictureBox& picture, std::int32_t start) {
    PixelView pixels = picture.pixels();
    // The rows written, so that only they are shown again: a steady trace changes a narrow band.
    int top = pixels.height();
    int bottom = -1;
    const auto writes = [&](int from, int to) {
        top = std::min({top, from, to});
        bottom = std::max({bottom, from, to});
    };
    // Element 0 has no column to its left: a start below 1 moves from element 1.
    const int first = std::max(start, 1);
    for (int X = first; X <= chart::kNewestColumn; ++X) {
        const int c = X - 1;
        const int was = TraceY[c];
        const int now = TraceY[X];
        // Restore the background the old dot and connector covered: from beyond the old row up to
        // the row next to the new one.
        if (now != was) {
            eraseRows(pixels, c, std::min(now, was) - 1, std::max(now, was) + 1);
            writes(std::min(now, was) - 1, std::max(now, was) + 1);
        }
        const int y = now == 0 ? 1 : now;
        fillColumn(pixels, c, y - 1, y + 1, TraceColour);
        fillColumn(pixels, c, TraceY[X], TraceY[X + 1], TraceColour);
        writes(y - 1, y + 1);
        writes(TraceY[X], TraceY[X + 1]);
        TraceY[c] = y;
    }
    // Only the band of rows written changed, and there each column now shows what the column to its right
    // showed, over its own background: the screen moves the band one column left, and only the columns
    // beside a grid line are repainted. The band runs from the column the trace leaves to the newest one
    // drawn (element kNewestColumn - 1); columns outside it have not changed.
    const int right = std::min(picture.ScaleWidth(), chart::kNewestColumn);
    const QRect band(first - 1, top, right - (first - 1), bottom - top + 1);
    picture.RefreshMoved(band, -1);
    for (const int c : backgroundSteps_)
        if (c >= band.left()) picture.Refresh(QRect(c, top, 1, band.height()));
}

void StripChart::eraseRows(PixelView& pixels, int column, int from, int to) const {
    if (column >= kBackgroundSize) return;
    // The store keeps each column's rows together.
    pixels.setColumn(column, from, std::min(to, kBackgroundSize - 1),
                     ChartBackground.data() + static_cast<std::size_t>(column * kBackgroundSize));
}
