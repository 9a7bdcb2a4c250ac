#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>

// One reading as a line of the readings CSV, which the panel's "Log every reading" and tolvane-cli's
// collect both write, so a spreadsheet or a script reads either the same way.
struct ReadingRow {
    QDateTime time;        // when the reading was taken, written as its date and time read (local)
    qint64 elapsedMs = 0;  // since the run started
    qint64 seq = 0;
    int count = 0;
    // R0 and R1 as written to the chip: the range, resolution and mode the count was taken with.
    std::uint8_t r0 = 0;
    std::uint8_t r1 = 0;
};

// "time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode" and its line end.
QByteArray readingCsvHeader();
// "D1", "D2" or "D1-D2": the mode column for what R0 has the chip measure.
const char* modeColumnText(std::uint8_t r0);
// The row, "." decimals, no group separators, lux with three decimals (empty for D2 alone), CR LF.
QByteArray readingCsvLine(const ReadingRow& row);

// The readings of several boards in one CSV: a leading `board` column naming the board that took the row,
// quoted where the name holds a comma, a quote or a line end.
QByteArray boardReadingCsvHeader();
QByteArray boardCsvField(const QString& board);
