#include "readinglog/reading_row.h"

#include <QString>

#include "chip/register_bits.h"

namespace {

// Spreadsheets on every system read CR LF, and the record file ends its lines so too.
constexpr char kLineEnd[] = "\r\n";

QByteArray modeName(Measurement measurement) {
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

}  // namespace

QByteArray readingCsvHeader() {
    return QByteArray("time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode") + kLineEnd;
}

QByteArray readingCsvLine(const ReadingRow& row) {
    const std::optional<double> lux = illuminanceLux(row.count, row.r0, row.r1);
    QByteArray line = row.time.toString(Qt::ISODateWithMs).toUtf8();
    line += ',' + QByteArray::number(row.elapsedMs);
    line += ',' + QByteArray::number(row.seq);
    line += ',' + QByteArray::number(row.count);
    line += ',' + (lux ? QByteArray::number(*lux, 'f', 3) : QByteArray());
    line += ',' + QByteArray::number(rangeLuxOf(row.r1));
    line += ',' + QByteArray::number(resolutionBitsOf(row.r0));
    line += ',' + modeName(measurementOf(row.r0));
    return line + kLineEnd;
}
