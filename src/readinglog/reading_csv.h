#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <string>
#include <string_view>

#include "chip/register_bits.h"

// One row of the readings CSV as it is read back, every field as written.
struct LoggedReading {
    // The time column as its clock face shows it (local time, no zone): milliseconds since
    // 1970-01-01T00:00:00.000 on that face.
    qint64 clockMs = 0;
    qint64 elapsedMs = 0;
    qint64 seq = 0;
    int count = 0;
    std::optional<qint64> milliLux;  // lux x 1000; none in D2 alone
    int rangeLux = 0;
    int resolutionBits = 0;
    Measurement mode = Measurement::D1;
    int board = 0;  // in a log of several boards, which one took it (ReadingCsvRead::boards)
};

// The header without its line end.
inline constexpr std::string_view kReadingCsvColumns =
    "time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode";

// The header of a log of several boards (boardReadingCsvHeader): a leading column names the board.
inline constexpr std::string_view kBoardReadingCsvColumns =
    "board,time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode";
static_assert(kBoardReadingCsvColumns.substr(6) == kReadingCsvColumns);

// Takes a line's first field as boardCsvField writes it (in double quotes, a quote doubled, where it
// holds a comma or a quote) and the comma after it; nothing when the line does not start with one.
std::optional<std::string> takeCsvField(std::string_view& line);

// Reads one line, without its line end. False when it is not a reading as our logs write them (other
// fields, a count outside 0..65535, lux beyond two million, a date that does not exist, a line cut
// short).
bool parseReadingCsvLine(std::string_view line, LoggedReading& reading);
// The line a log holds for the reading, CR LF included: what parseReadingCsvLine read, written back,
// gives the file's bytes.
QByteArray readingCsvLine(const LoggedReading& reading);
