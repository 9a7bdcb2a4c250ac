#pragma once

#include <QString>
#include <cstdint>
#include <optional>

// A byte as exactly two upper-case hexadecimal digits: 5 -> "05", 171 -> "AB".
QString Hex2(std::uint8_t value);

// Hexadecimal text to a signed 16-bit number, the way the panel reads its boxes: leading
// hexadecimal digits up to the first other character, empty or non-hexadecimal text gives 0,
// four digits "8000".."FFFF" give negative numbers; longer numbers keep their low 16 bits.
std::int16_t HexToInt(const QString& text);

// Strict readers for the console's transfer fields.
// A hexadecimal byte: one or more hexadecimal digits (leading zeros allowed) worth 0..FF.
std::optional<std::uint8_t> parseHexByte(const QString& text);
// A decimal count of registers from 1 to 32.
std::optional<std::uint8_t> parseCount(const QString& text);
