#include "view/reading_text.h"

#include <QDateTime>
#include <cmath>

QString durationText(double ms) {
    const auto whole = static_cast<qint64>(std::llround(ms));
    return QString("%1:%2:%3.%4")
        .arg(whole / 3'600'000)
        .arg(whole / 60'000 % 60, 2, 10, QChar('0'))
        .arg(whole / 1000 % 60, 2, 10, QChar('0'))
        .arg(whole % 1000, 3, 10, QChar('0'));
}

QString valueName(bool anyLux, bool allLux, const QString& lux, const QString& count) {
    return allLux && anyLux ? lux : !anyLux ? count : lux + " or " + count.toLower();
}

QString readoutText(const QString& name, const RunReadings& readings, qint64 i) {
    const LoggedReading r = readings.reading(i);
    // The time column holds the clock face, which a UTC date and time show unchanged.
    const QString clock = QDateTime::fromMSecsSinceEpoch(r.clockMs, Qt::UTC)
                              .toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
    const QString lux = r.milliLux ? QString::number(static_cast<double>(*r.milliLux) / 1000, 'f', 3) + " lux"
                                   : QStringLiteral("no lux");
    // The name goes in last: a file name may hold a "%1" of its own.
    return name + QString(" · %1 (%2 in) · %3 · count %4 · seq %5")
                      .arg(clock, durationText(readings.timeMs(i)), lux, QString::number(r.count),
                           QString::number(r.seq));
}

QString statisticsText(const QString& name, const SpanStatistics& s, bool anyLux, bool allLux) {
    if (s.readings == 0) return name + ": no readings on screen";
    const bool counts = !anyLux;
    const auto number = [counts](double value, bool spread) {
        return QString::number(value, 'f', counts ? (spread ? 1 : 0) : 3);
    };
    return name +
           QString(
               ": %1 readings · %2 min %3, mean %4, max %5, sd %6 · interval mean %7 ms, "
               "largest gap %8 ms · missed %9 (at the usual ")
               .arg(QString::number(s.readings), valueName(anyLux, allLux, "lux", "count"),
                    number(s.minimum, false), number(s.mean, true), number(s.maximum, false),
                    number(s.deviation, true), QString::number(s.meanIntervalMs, 'f', 1),
                    QString::number(s.largestGapMs), QString::number(s.missed)) +
           QString::number(s.scheduleMs) + " ms)";
}

QString loadText(const QString& name, const ReadingCsvRead& read, qint64 readings, bool full) {
    if (read.status == ReadingCsvRead::Status::Failed) return read.error;
    QStringList text{QString("%1: %2 readings").arg(name, QString::number(readings))};
    if (read.linesLeftOut > 0)
        text << QString("lines that are not readings left out: %1 (the first is line %2)")
                    .arg(read.linesLeftOut)
                    .arg(read.firstLeftOut);
    if (read.tornLastRow) text << QStringLiteral("the last row, not yet whole, left out");
    if (read.shrank) text << QStringLiteral("the file got shorter while it was read");
    if (full) text << QStringLiteral("readings more than 49 days after the first left out");
    return text.join("; ");
}
