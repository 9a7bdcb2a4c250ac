#include "console/clock_lists.h"

#include <QLocale>
#include <algorithm>

namespace {
constexpr int kLowestSclKHz = 100;
constexpr int kLowestSpiKHz = 500;
constexpr int kHighestSclCode = 255;
constexpr int kHighestSpiCode = 23;
}  // namespace

std::vector<ClockRow> sclClockRows(int baseMHz) {
    const int baseKHz = baseMHz * 1000;
    std::vector<ClockRow> rows;
    for (int d = kHighestSclCode; d >= 1; --d) {
        const int kHz = baseKHz / d;
        if (kHz >= kLowestSclKHz) rows.push_back({QString::number(kHz), d});
    }
    return rows;
}

std::vector<ClockRow> spiClockRows(int baseMHz) {
    const int baseKHz = baseMHz * 1000;
    std::vector<ClockRow> rows;
    for (int k = kHighestSpiCode; k >= 0; --k) {
        const int kHz = baseKHz / (2 * (k + 1));
        // Whole kHz over 1000 has at most three decimals; the shortest form drops trailing zeros.
        if (kHz >= kLowestSpiKHz)
            rows.push_back({QString::number(kHz / 1000.0, 'f', QLocale::FloatingPointShortest), k});
    }
    return rows;
}

int rowOfCode(const std::vector<ClockRow>& rows, int code) {
    const auto it =
        std::find_if(rows.begin(), rows.end(), [code](const ClockRow& row) { return row.code == code; });
    return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
}
