#pragma once

#include <QByteArray>
#include <charconv>

#include "chip/register_bits.h"

// The pieces of a readings CSV line, written by hand: a row must cost the collection loop next to
// nothing, and Qt's date formatting alone costs more than all the rest. Both ways of writing a row
// (from the panel's reading, and back from a file's row) build it here, so they agree to the byte.
namespace csvline {

// Spreadsheets on every system read CR LF, and the record file ends its lines so too.
inline constexpr char kLineEnd[] = "\r\n";

class Line {
public:
    // A whole number, zero-padded to `width` digits where asked.
    Line& number(long long value, int width = 0) {
        char digits[24];
        const auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
        for (auto length = end - digits; length < width; ++length) put('0');
        for (const char* c = digits; c != end; ++c) put(*c);
        return *this;
    }
    Line& put(char c) {
        buffer_[size_++] = c;
        return *this;
    }
    Line& put(const char* text) {
        while (*text) put(*text++);
        return *this;
    }
    // "2026-12-07T17:15:00.123,"
    Line& clock(int year, int month, int day, int hour, int minute, int second, int ms) {
        number(year, 4).put('-').number(month, 2).put('-').number(day, 2).put('T');
        number(hour, 2).put(':').number(minute, 2).put(':').number(second, 2).put('.').number(ms, 3);
        return put(',');
    }
    QByteArray text() const { return QByteArray(buffer_, size_); }

private:
    char buffer_[160];  // the longest line of 64-bit fields fits
    int size_ = 0;
};

inline const char* modeName(Measurement measurement) {
    switch (measurement) {
        case Measurement::D2:
            return "D2";
        case Measurement::D1MinusD2:
            return "D1-D2";
        case Measurement::D1:
            break;
    }
    return "D1";
}

}  // namespace csvline
