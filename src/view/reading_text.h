#pragma once

#include <QString>

#include "readinglog/reading_csv_file.h"
#include "view/run_readings.h"

// The view's words for readings and spans.

// "1:02:03.456": a time since a run's first reading.
QString durationText(double ms);
// What the values are: lux where every reading has lux, counts where none has, both where some have.
QString valueName(bool anyLux, bool allLux, const QString& lux, const QString& count);
// The readout of reading `i` of the run named `name`: its time, value, count and sequence number.
QString readoutText(const QString& name, const RunReadings& readings, qint64 i);
// One line of statistics of the run named `name`, for the span on screen.
QString statisticsText(const QString& name, const SpanStatistics& statistics, bool anyLux, bool allLux);
// What loading the log named `name` came to: its readings, and what was left out of it.
QString loadText(const QString& name, const ReadingCsvRead& read, qint64 readings, bool full);
