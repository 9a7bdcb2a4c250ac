// The bus clock lists computed from a board's base clock.
#include "console/clock_lists.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

QStringList texts(const std::vector<ClockRow>& rows) {
    QStringList list;
    for (const ClockRow& row : rows) list << row.text;
    return list;
}

TEST(ClockLists, SclRunsFrom100kHzUpToTheBaseClockWithByteCodesOnly) {
    const std::vector<ClockRow> rows = sclClockRows(12);
    ASSERT_EQ(rows.size(), 120u);
    EXPECT_EQ(texts({rows.begin(), rows.begin() + 4}), (QStringList{"100", "100", "101", "102"}));
    EXPECT_EQ(texts({rows.end() - 3, rows.end()}), (QStringList{"4000", "6000", "12000"}));
    EXPECT_EQ(rows.front().code, 120);
    EXPECT_EQ(rows[rowOfCode(rows, 30)].text, "400");
    // 26 MHz / 256 would still be 101 kHz, but the set command carries the code in one byte.
    EXPECT_EQ(sclClockRows(26).front().code, 255);
    EXPECT_EQ(sclClockRows(255).back().text, "255000");  // no 16-bit overflow
}

TEST(ClockLists, SpiListsTheDesignedRowsTruncatedToWholeKHz) {
    const std::vector<ClockRow> rows = spiClockRows(24);
    EXPECT_EQ(texts(rows), (QStringList{"0.5",  "0.521", "0.545", "0.571", "0.6", "0.631", "0.666", "0.705",
                                        "0.75", "0.8",   "0.857", "0.923", "1",   "1.09",  "1.2",   "1.333",
                                        "1.5",  "1.714", "2",     "2.4",   "3",   "4",     "6",     "12"}));
    for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i].code, 23 - static_cast<int>(i));
    EXPECT_EQ(rows[rowOfCode(rows, 5)].text, "2");
    EXPECT_EQ(rowOfCode(spiClockRows(12), 12), -1);  // 480 kHz is too slow to be listed
    EXPECT_EQ(spiClockRows(200).front().text, "4.166");
}

}  // namespace
