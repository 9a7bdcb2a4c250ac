// The history view on a day's log at 10 ms (8.64 M readings, about 650 MB): the load's time, on the
// loader's thread as the window loads, and the bytes each reading then holds (at most 3 s and 16
// bytes); a redraw at zooms from the whole day to a second (at most 30 ms: min/max per pixel column);
// and what following a run costs the window thread: each row handed over, and each paced redraw.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cmath>
#include <vector>

#include "readinglog/reading_row.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/scripted_dialogs.h"
#include "view/history_window.h"

namespace {

constexpr qint64 kDayAt10Ms = 8'640'000;
constexpr double kDayMs = 86'400'000;

// A day's light: a slow swing with a little noise, at 10 ms, as the panel's log writes it.
ReadingRow dayRow(qint64 i) {
    static const QDateTime start(QDate(2026, 12, 7), QTime(0, 0), Qt::UTC);
    const int count = static_cast<int>(30000 + 20000 * std::sin(i * 1e-5) + (i * 7919 % 61));
    return {start.addMSecs(10 * i), 10 * i, i - 11, count, 0x80, 0x04};
}

// Written once for all the benchmarks, in a temporary folder.
QString dayLog() {
    static QTemporaryDir folder;
    static const QString path = [] {
        QFile file(folder.filePath("day.csv"));
        if (!file.open(QIODevice::WriteOnly)) return QString();
        QByteArray block = readingCsvHeader();
        for (qint64 i = 0; i < kDayAt10Ms; ++i) {
            block += readingCsvLine(dayRow(i));
            if (block.size() > (8 << 20)) file.write(std::exchange(block, {}));
        }
        file.write(block);
        return file.fileName();
    }();
    return path;
}

// Processor seconds of the whole process, the loader's thread included: on a machine shared with
// other work, what the load would take on a quiet one.
double processorSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}

double heapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

// The window loading the day, as a user opening it waits for it.
struct DayWindow {
    FakeClock clock;
    ScriptedDialogs dialogs;
    HistoryWindow window{dialogs, clock};

    DayWindow() {
        window.resize(1200, 700);
        window.show();
    }
};

void BM_LoadADayAt10Ms(benchmark::State& state) {
    const QString path = dayLog();
    for (auto _ : state) {
        DayWindow day;
        const double before = heapInUse();
        QElapsedTimer timer;
        timer.start();
        const double processorBefore = processorSeconds();
        day.window.open({path});
        day.window.finishLoading();
        state.counters["load_s"] = static_cast<double>(timer.nsecsElapsed()) * 1e-9;
        state.counters["load_processor_s"] = processorSeconds() - processorBefore;
        const qint64 readings =
            day.window.plot->runs().empty() ? 0 : day.window.plot->runs()[0].readings->size();
        state.counters["readings"] = static_cast<double>(readings);
        state.counters["bytes_per_reading"] =
            (heapInUse() - before) / static_cast<double>(std::max<qint64>(1, readings));
        if (readings != kDayAt10Ms) state.SkipWithError("the day did not load whole");
    }
}
BENCHMARK(BM_LoadADayAt10Ms)->Iterations(3)->Unit(benchmark::kSecond)->UseRealTime();

// One redraw: the span moved by a little, its lines and statistics worked out again, the plot drawn.
void BM_RedrawADayAtAZoom(benchmark::State& state) {
    DayWindow day;
    day.window.open({dayLog()});
    day.window.finishLoading();
    HistoryPlot& plot = *day.window.plot;
    const double spanS = static_cast<double>(state.range(0));
    double from = 0;
    for (auto _ : state) {
        from = std::fmod(from + spanS / 7, kDayMs / 1000 - spanS);
        plot.xAxis->setRange(from, from + spanS);
        plot.replot(QCustomPlot::rpImmediateRefresh);
    }
    state.counters["span_s"] = spanS;
}
BENCHMARK(BM_RedrawADayAtAZoom)->Arg(86'400)->Arg(3600)->Arg(60)->Arg(1)->Unit(benchmark::kMillisecond);

// Following a run at 100 ms, after an hour of it: a row handed over (parsed and kept; the view only
// notes that it has something new to draw), and a paced redraw, which keeps the whole run in sight,
// with the redraws a second the pacer allows at that cost and the share of a core they take.
struct FollowedHour : DayWindow {
    qint64 next = 0;
    FollowedHour() {
        window.followLog("followed.csv", 0);
        while (next < 36'000) window.lineAdded(readingCsvLine(dayRow(next++)));
    }
};

void BM_FollowedRowHandedOver(benchmark::State& state) {
    FollowedHour run;  // no events run here: the redraws the rows ask for never come
    std::vector<QByteArray> lines;
    for (int k = 0; k < 100'000; ++k) lines.push_back(readingCsvLine(dayRow(run.next + k)));
    std::size_t k = 0;
    for (auto _ : state) run.window.lineAdded(lines[k++ % lines.size()]);
}
BENCHMARK(BM_FollowedRowHandedOver)->Iterations(100'000);

void BM_FollowedRunRedrawn(benchmark::State& state) {
    FollowedHour run;
    QElapsedTimer timer;
    timer.start();
    for (auto _ : state) {
        run.window.lineAdded(readingCsvLine(dayRow(run.next++)));
        run.window.plot->readingsAdded();
    }
    const double redrawMs =
        static_cast<double>(timer.nsecsElapsed()) * 1e-6 / static_cast<double>(state.iterations());
    const double pauseMs =
        std::max<double>(RedrawPacer::kShortestPauseMs, redrawMs / RedrawPacer::kMostShareOfACore);
    state.counters["redraws_per_s"] = 1000 / pauseMs;
    state.counters["redraw_share_percent"] = 100 * redrawMs / pauseMs;
}
BENCHMARK(BM_FollowedRunRedrawn)->Unit(benchmark::kMillisecond);

}  // namespace
