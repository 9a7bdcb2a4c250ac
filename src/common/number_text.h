#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// The number texts the collection, chart and record file show and write, and the way they read a
// number from a text box.

// Signed decimal text: a blank before a value of 0 or more, a minus sign otherwise, no group
// separators: 5 -> " 5", -5 -> "-5".
QString signedDecimal(long long value);
// The same for a double: up to 15 significant digits, "." as the decimal point, no trailing zeros:
// 460.0 -> " 460", 28.75 -> " 28.75", -0.5 -> "-0.5".
QString signedDecimal(double value);

// "######.000": rounded to three decimals, always three digits after the point, no digit before the
// point below 1, no group separators: 1234 -> "1234.000", 0.5 -> ".500", 0 -> ".000".
QString formatThreeDecimals(double value);
// "##.00": two decimals, no digit before the point below 1: 4 -> "4.00", 0.4 -> ".40", 40 -> "40.00".
QString formatTwoDecimals(double value);
// "00000": at least five digits, zero-padded on the left: 2500 -> "02500", -2500 -> "-02500".
QString formatFiveDigits(long long value);

// The numeric value of a box's text (blanks around it allowed): empty or not a number counts as 0; a
// number beyond a double's range is an infinity, which roundToInt32 refuses.
double numericValue(const QString& text);
// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4). Empty when
// the value is not finite or does not fit a signed 32-bit number: the caller keeps what it had.
std::optional<std::int32_t> roundToInt32(double value);
