#include "common/hex.h"

QString Hex2(std::uint8_t value) {
    // Twice per read register at every sample: formatting through printf cost more than the read.
    constexpr char kDigits[] = "0123456789ABCDEF";
    const QChar digits[] = {QLatin1Char(kDigits[value >> 4]), QLatin1Char(kDigits[value & 0xF])};
    return QString(digits, 2);
}

static int hexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9') return u - '0';
    if (u >= 'A' && u <= 'F') return u - 'A' + 10;
    if (u >= 'a' && u <= 'f') return u - 'a' + 10;
    return -1;
}

std::int16_t HexToInt(const QString& text) {
    std::uint16_t value = 0;
    for (QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0) break;
        value = static_cast<std::uint16_t>(value << 4 | digit);
    }
    return static_cast<std::int16_t>(value);
}

std::optional<std::uint8_t> parseHexByte(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    unsigned value = 0;
    for (QChar c : text) {
        const int digit = hexDigit(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + digit;
        if (value > 0xFF) return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

std::optional<std::uint8_t> parseCount(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < 1 || value > 32) return std::nullopt;
    return static_cast<std::uint8_t>(value);
}
