#include "common/number_text.h"

#include <cmath>
#include <limits>

namespace {

// Fixed-point text without the zero before the point: "0.500" -> ".500", "-0.500" -> "-.500".
// A value that rounds to zero loses its minus sign, so -0.0001 shows as ".000".
QString fixedWithoutLeadingZero(double value, int decimals) {
    QString text = QString::number(value, 'f', decimals);
    if (text.startsWith('-') && text.mid(1).toDouble() == 0) text.remove(0, 1);
    const qsizetype zero = text.startsWith('-') ? 1 : 0;
    if (text.mid(zero).startsWith(QLatin1String("0."))) text.remove(zero, 1);
    return text;
}

}  // namespace

QString signedDecimal(long long value) {
    const QString digits = QString::number(value);
    return value >= 0 ? ' ' + digits : digits;
}

QString signedDecimal(double value) {
    if (value == 0) value = 0;  // -0.0 reads as 0
    const QString digits = QString::number(value, 'g', 15);
    return std::signbit(value) ? digits : ' ' + digits;
}

QString formatThreeDecimals(double value) {
    return fixedWithoutLeadingZero(value, 3);
}

QString formatTwoDecimals(double value) {
    return fixedWithoutLeadingZero(value, 2);
}

QString formatFiveDigits(long long value) {
    // Unsigned, so the magnitude of the lowest long long fits.
    const unsigned long long magnitude =
        value < 0 ? 0ULL - static_cast<unsigned long long>(value) : static_cast<unsigned long long>(value);
    const QString digits = QString::number(magnitude).rightJustified(5, '0');
    return value < 0 ? '-' + digits : digits;
}

double numericValue(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (ok) return std::isfinite(value) ? value : 0;  // "inf" and "nan" are words, not numbers
    // A number too large for a double is still a number: its infinity fits no box's range, so the
    // caller keeps what it had instead of taking 0 (an interval of 0 would sample flat out).
    return std::isinf(value) ? value : 0;
}

std::optional<std::int32_t> roundToInt32(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const double rounded = std::nearbyint(value);  // the default mode rounds halves to even
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}
