// Where a value plots and how the axes are labelled.
#include "acquisition/chart_math.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <tuple>
#include <vector>

namespace {

TEST(ChartMath, TraceRowMapsTheScaleOntoRows304To1) {
    const std::vector<std::tuple<double, std::int32_t, std::optional<std::int32_t>>> cases{
        {25000, 25000, 1},  // row 0 is kept at 1
        {0, 25000, 304},    // below the visible interior
        {12500, 25000, 152},
        {30000, 25000, 1},       // above the scale
        {1e300, 25000, 1},       // far above: limited, not overflowed
        {-5, 25000, 304},        // negative
        {100, -25000, 304},      // a negative scale maps positive values to the bottom
        {1, 608, 304},           // 303.5: halves to even
        {3, 608, 302},           // 302.5
        {100, 0, std::nullopt},  // no scale: the point keeps its row
        {std::nan(""), 25000, std::nullopt},
    };
    for (const auto& [value, scaleMax, row] : cases)
        EXPECT_EQ(chart::traceRow(value, scaleMax), row) << value << " of " << scaleMax;
}

using Labels = std::array<QString, chart::kLabelCount>;

// The chart's own test shows the labels of scale 25000 and intervals 100 and 10.
TEST(ChartMath, ValueLabelsCountRoundedTenthsOfTheScale) {
    const std::vector<std::pair<std::int32_t, Labels>> values{
        {25, {"0", "2", "4", "6", "8", "10", "12", "14", "16", "18", "20"}},    // step 2.5 -> 2
        {35, {"0", "4", "8", "12", "16", "20", "24", "28", "32", "36", "40"}},  // step 3.5 -> 4
        {-1000, {"0", "-100", "-200", "-300", "-400", "-500", "-600", "-700", "-800", "-900", "-1000"}},
    };
    for (const auto& [scaleMax, labels] : values) EXPECT_EQ(chart::valueLabels(scaleMax), labels) << scaleMax;
}

}  // namespace
