#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The strip chart's arithmetic: where a value plots and how the axes are labelled.
namespace chart {

constexpr int kNewestColumn = 403;   // TraceY element that receives the newest sample
constexpr int kTraceColumns = 411;   // TraceY 0..410
constexpr int kBottomRow = 304;      // row of the value 0; rows 300..304 lie below the interior
constexpr int kSamplesAcross = 400;  // samples the chart width spans
constexpr int kLabelCount = 11;      // labels 0..10 on each axis

// Row of a value: 304 - (304 / scaleMax) * value, rounded (halves to even), limited to 1..304.
// Empty when it cannot be computed (scaleMax 0): the trace point keeps its previous row.
std::optional<std::int32_t> traceRow(double value, std::int32_t scaleMax);

// "0.00", then for i = 1..10 the seconds that i tenths of the chart span at this interval, "##.00".
std::array<QString, kLabelCount> timeLabels(std::int32_t intervalMs);
// "0", then i * (scaleMax / 10 rounded, halves to even) as plain decimal text.
std::array<QString, kLabelCount> valueLabels(std::int32_t scaleMax);

}  // namespace chart
