#include "acquisition/chart_math.h"

#include <algorithm>
#include <cmath>

#include "common/number_text.h"

namespace chart {

std::optional<std::int32_t> traceRow(double value, std::int32_t scaleMax) {
    if (scaleMax == 0) return std::nullopt;
    const double row = kBottomRow - (static_cast<double>(kBottomRow) / scaleMax) * value;
    if (std::isnan(row)) return std::nullopt;
    // Limited before the conversion, so a value far off the scale cannot overflow.
    return static_cast<std::int32_t>(std::clamp(std::nearbyint(row), 1.0, static_cast<double>(kBottomRow)));
}

std::array<QString, kLabelCount> timeLabels(std::int32_t intervalMs) {
    std::array<QString, kLabelCount> labels;
    labels[0] = "0.00";
    for (int i = 1; i < kLabelCount; ++i)
        labels[i] = formatTwoDecimals(intervalMs / 1000.0 * kSamplesAcross * i / 10);
    return labels;
}

std::array<QString, kLabelCount> valueLabels(std::int32_t scaleMax) {
    // scaleMax / 10 always fits: only the rounding is wanted here.
    const long long step = roundToInt32(scaleMax / 10.0).value_or(0);
    std::array<QString, kLabelCount> labels;
    for (int i = 0; i < kLabelCount; ++i) labels[i] = QString::number(i * step);
    return labels;
}

}  // namespace chart
