#include "readinglog/reading_row.h"

#include "chip/register_bits.h"
#include "readinglog/csv_line.h"
#include "readinglog/reading_csv.h"

const char* modeColumnText(std::uint8_t r0) {
    return csvline::modeName(measurementOf(r0));
}

QByteArray readingCsvHeader() {
    return QByteArray(kReadingCsvColumns.data(), kReadingCsvColumns.size()) + csvline::kLineEnd;
}

QByteArray readingCsvLine(const ReadingRow& row) {
    const std::optional<double> lux = illuminanceLux(row.count, row.r0, row.r1);
    const QDate date = row.time.date();
    const QTime time = row.time.time();
    csvline::Line line;
    line.clock(date.year(), date.month(), date.day(), time.hour(), time.minute(), time.second(), time.msec());
    line.number(row.elapsedMs).put(',').number(row.seq).put(',').number(row.count).put(',');
    QByteArray text = line.text();
    if (lux) text += QByteArray::number(*lux, 'f', 3);  // "." whatever the user's locale
    csvline::Line rest;
    rest.put(',').number(rangeLuxOf(row.r1)).put(',').number(resolutionBitsOf(row.r0)).put(',');
    rest.put(modeColumnText(row.r0)).put(csvline::kLineEnd);
    return text + rest.text();
}

QByteArray boardReadingCsvHeader() {
    return QByteArray(kBoardReadingCsvColumns.data(), kBoardReadingCsvColumns.size()) + csvline::kLineEnd;
}

QByteArray boardCsvField(const QString& board) {
    QByteArray field = board.toUtf8();
    if (!field.contains(',') && !field.contains('"') && !field.contains('\n') && !field.contains('\r'))
        return field;
    return '"' + field.replace("\"", "\"\"") + '"';
}
