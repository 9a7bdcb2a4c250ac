#include "readinglog/reading_row.h"

#include <QString>
#include <charconv>

#include "chip/register_bits.h"

namespace {

// Spreadsheets on every system read CR LF, and the record file ends its lines so too.
constexpr char kLineEnd[] = "\r\n";

// Whole numbers into a line, zero-padded to a width where asked.
class Line {
public:
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
    QByteArray text() const { return QByteArray(buffer_, size_); }

private:
    char buffer_[96];
    int size_ = 0;
};

}  // namespace

const char* modeColumnText(std::uint8_t r0) {
    switch (measurementOf(r0)) {
        case Measurement::D2:
            return "D2";
        case Measurement::D1MinusD2:
            return "D1-D2";
        case Measurement::D1:
            break;
    }
    return "D1";
}

QByteArray readingCsvHeader() {
    return QByteArray("time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode") + kLineEnd;
}

QByteArray readingCsvLine(const ReadingRow& row) {
    const std::optional<double> lux = illuminanceLux(row.count, row.r0, row.r1);
    const QDate date = row.time.date();
    const QTime time = row.time.time();
    // Written by hand: a row must cost the collection loop next to nothing, and Qt's date formatting
    // alone costs more than all the rest.
    Line line;
    line.number(date.year(), 4).put('-').number(date.month(), 2).put('-').number(date.day(), 2).put('T');
    line.number(time.hour(), 2).put(':').number(time.minute(), 2).put(':').number(time.second(), 2);
    line.put('.').number(time.msec(), 3).put(',');
    line.number(row.elapsedMs).put(',').number(row.seq).put(',').number(row.count).put(',');
    QByteArray text = line.text();
    if (lux) text += QByteArray::number(*lux, 'f', 3);  // "." whatever the user's locale
    Line rest;
    rest.put(',').number(rangeLuxOf(row.r1)).put(',').number(resolutionBitsOf(row.r0)).put(',');
    return text + rest.text() + modeColumnText(row.r0) + kLineEnd;
}

QByteArray boardReadingCsvHeader() {
    return "board," + readingCsvHeader();
}

QByteArray boardCsvField(const QString& board) {
    QByteArray field = board.toUtf8();
    if (!field.contains(',') && !field.contains('"') && !field.contains('\n') && !field.contains('\r'))
        return field;
    return '"' + field.replace("\"", "\"\"") + '"';
}
