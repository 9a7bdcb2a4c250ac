// The collection loop: what the board receives and when, and what the frame and the chart show.
// Last, the loop under the user's hand: every click lands once, after what the focus leaving a box does.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <map>

#include "acquisition/chart_math.h"
#include "common/palette.h"
#include "shell/frmStartup.h"
#include "tests/sensor/panel_fixture.h"
#include "tests/support/user_input.h"

using ::testing::ElementsAre;

namespace {

using CollectionTest = PanelTest;

// A run writes the load's register boxes, each read back, then reads all registers.
const std::vector<std::string> kStartSequence{"W00=80", "R00x4",  "W01=00", "R00x4", "W02=FF",
                                              "R00x4",  "W03=00", "R00x4",  "R00x4", "R04x4"};

std::vector<std::string> slice(const std::vector<std::string>& all, std::size_t from, std::size_t count) {
    return {all.begin() + static_cast<std::ptrdiff_t>(from),
            all.begin() + static_cast<std::ptrdiff_t>(std::min(all.size(), from + count))};
}

TEST_F(CollectionTest, ARunBringsTheChipInLineShowsItIsRunningAndRestoresThePanelWhenStopped) {
    frmTolvane& p = panel();
    const std::size_t from = mark();
    CollectionFrame& f = frame();
    // What the frame shows, and which of Collect, Stop, Exit and the four time fields the user can use.
    const auto shown = [&] {
        QString usable;
        for (QWidget* w : std::initializer_list<QWidget*>{f.cmdCollectData, f.cmdStopData, f.Command4,
                                                          f.Label6, f.Label14, f.txtTime1, f.txtTime3})
            usable += w->isHidden() || !w->isEnabled() ? '-' : '+';
        return QStringList{f.Label18->text(), f.cmdCollectData->text(), p.ChkIpol->text(), usable};
    };
    QStringList during;
    collectSamples(3, [&] {
        if (during.isEmpty() && wing().loop.collecting()) during = shown();
    });
    EXPECT_EQ(during, QStringList({"Data Collection In Process",
                                   "Real Time data display is executing, Click -Stop Real Time- to End",
                                   "Polling via External INT Pin", "-+-++++"}));
    const std::vector<std::string> traffic = trafficSince(from);
    EXPECT_EQ(slice(traffic, 0, kStartSequence.size()), kStartSequence);
    EXPECT_THAT(slice(traffic, kStartSequence.size(), 100),
                ElementsAre("GP", "R04x2", "GP", "R04x2", "GP", "R04x2", "GP", "R04x2"))
        << "three samples, and the stopped pass reads once more";

    EXPECT_FALSE(wing().loop.ownsChip());
    EXPECT_EQ(shown(), QStringList({"Data Collection Halted", "Collect Data Graphical Real Time Data",
                                    "Polling INT Via Reg b001 Bit h20", "+-+++++"}));
    EXPECT_EQ(p.txtRegRd[5]->text() + p.txtRegRd[4]->text(), "199A");
}

// An ADC left powered down is reset before the run; its write copy then shows it running.
TEST_F(CollectionTest, APoweredDownAdcIsResetBeforeTheRun) {
    frmTolvane& p = panel();
    p.ChkCommand[3]->setChecked(true);  // R0 = 0x40
    const std::size_t from = mark();
    collectSamples(1);
    EXPECT_THAT(slice(trafficSince(from), 0, 3), ElementsAre("W00=80", "R00x4", "W00=80"))
        << "the reset's power-down finds the box already checked; its power-up writes 80";
    EXPECT_EQ(p.RegShadow[0], 0x80);
    EXPECT_EQ(chip().reg(0), 0x80);
}

// Samples 0..9 settle: shown, stored, neither counted nor plotted. The eleventh is counted and enters
// the chart at column 402, outside the interior (the chart's own test shows the pixels).
TEST_F(CollectionTest, TheFirstTenSamplesSettleThenTheChartGrowsFromTheRightEdge) {
    const QImage empty = wing().chartFrame->Picture1->image();
    // After each sample: reading | time3 | time1 | count | chart untouched | PlotStart | row of column 402
    std::vector<QString> seen(16);
    collectSamples(15, [&] {
        const int n = history().SampleIndex;
        if (n < 1 || n > 15) return;
        seen[n] = QStringList{frame().txtReading->text(),
                              frame().txtTime3->text(),
                              frame().txtTime1->text(),
                              frame().lblLoop_Count->text(),
                              wing().chartFrame->Picture1->image() == empty ? "empty" : "drawn",
                              QString::number(wing().chart.PlotStart),
                              QString::number(wing().chart.TraceY[402])}
                      .join('|');
    });
    EXPECT_EQ(seen[1], ".000| 97| 97||empty|403|1") << "the first integration is not done";
    for (int n = 2; n <= 10; ++n) EXPECT_EQ(seen[n], "6554.000| 97| 97||empty|403|1") << n;
    EXPECT_EQ(seen[11], "6554.000| 97| 97| 1|empty|402|224");
    EXPECT_EQ(seen[14], "6554.000| 97| 97| 4|drawn|399|224") << "the first counted sample reached column 399";
}

// The read starts 3 ms before each due time; the next due time counts from the end of that
// read. With 4 ms or less to go nothing waits and no events run in the wait. Once the chart is full, a
// millisecond's rest follows each sample, which a longer wait takes in: the reads keep their times.
TEST_F(CollectionTest, SamplesStartThreeMillisecondsBeforeTheirDueTimes) {
    panel().ChkIpol->setChecked(false);  // a poll's flush would take a millisecond of each interval
    constexpr int kFull = chart::kSamplesAcross + 20;  // full from the 413th read on
    struct Case {
        const char* interval;
        std::uint32_t gap, fullGap;
        int waits;  // of the run's kFull + 1 reads
    };
    for (const auto& [interval, gap, fullGap, waits] :
         std::vector<Case>{{"100", 97, 97, kFull + 1},
                           {"10", 7, 7, kFull + 1},
                           {"6", 3, 3, kFull + 1},
                           {"5", 2, 1, 413},  // the rest leaves 4 ms: no wait
                           {"4", 0, 1, 0},
                           {"0", 0, 1, 0}}) {
        SCOPED_TRACE(interval);
        frame().txtInterval->setText(interval);
        const std::size_t from = mark();
        const int waitsBefore = rig.dueTimeWait.waits;
        collectSamples(kFull);
        const std::uint32_t runStart = rig.board().received[from + kStartSequence.size() - 1].timeMs;
        const std::vector<std::uint32_t> reads = adcReadTimes(from);
        ASSERT_EQ(reads.size(), kFull + 1u);
        EXPECT_EQ(reads[0] - runStart, gap) << "the first due time counts from the run's start";
        for (std::size_t i = 1; i < chart::kSamplesAcross; ++i) ASSERT_EQ(reads[i] - reads[i - 1], gap) << i;
        for (std::size_t i = kFull - 4; i <= kFull; ++i) ASSERT_EQ(reads[i] - reads[i - 1], fullGap) << i;
        EXPECT_EQ(rig.dueTimeWait.waits - waitsBefore, waits);
    }
}

// An interval that does not fit 32 bits leaves the one in force.
TEST_F(CollectionTest, AChangedIntervalTakesEffectAtTheNextDueTime) {
    const std::size_t from = mark();
    collectSamples(10, [&] {
        const std::map<int, QString> typed{{3, "50"}, {6, "1e400"}, {7, QString(10000, '9')}};
        if (typed.count(history().SampleIndex)) frame().txtInterval->setText(typed.at(history().SampleIndex));
    });
    std::vector<std::uint32_t> gaps;
    const std::vector<std::uint32_t> reads = adcReadTimes(from);
    for (std::size_t i = 1; i < reads.size(); ++i) gaps.push_back(reads[i] - reads[i - 1]);
    EXPECT_THAT(gaps, ElementsAre(97, 97, 97, 97, 47, 47, 47, 47, 47, 47));
}

// After 1010 stored samples the index stays, the count stays at 1000, element 1010 takes every new
// reading and the chart keeps scrolling; "Log every reading" keeps every one of them.
TEST_F(CollectionTest, PastTenHundredAndTenSamplesTheLastElementIsOverwrittenAndTheLogGoesOn) {
    const QTemporaryDir folder;
    wing().record->txtFilePath->setText(folder.filePath("Data.txt"));
    click(wing().record->chkLogEveryReading);
    frame().txtInterval->setText("10");
    int passesAtTheCap = -1;
    collect([&] {
        if (history().SampleIndex < SampleHistory::kLastIndex) return;
        if (passesAtTheCap < 0) {
            passesAtTheCap = rig.dueTimeWait.waits;
            chip().setLight(sim::LightSource::constant(50));  // 3277 once an integration has seen it
        }
        if (rig.dueTimeWait.waits - passesAtTheCap == 40) panel().cmdStopData_Click();
    });
    EXPECT_EQ(history().SampleIndex, 1010);
    EXPECT_EQ(frame().lblLoop_Count->text(), " 1000");
    EXPECT_EQ(history().AdcHistory[1010], 3277);
    EXPECT_EQ(history().AdcHistory[1009], kCount) << "1009 was the last element stored in order";
    EXPECT_EQ(wing().chart.PlotStart, 1);
    EXPECT_EQ(wing().chart.TraceY[399], *chart::traceRow(3277, 25000)) << "the new level has scrolled in";

    QFile log(folder.filePath("Data-20261207-093005.csv"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = log.readAll().trimmed().split('\n');
    EXPECT_EQ(rows.size(), 1 + 1050) << "the header and a row for each reading";
    EXPECT_TRUE(rows.back().contains(",1038,3277,")) << rows.back().toStdString();
}

// The stopped pass reads, shows and scrolls once more, repeating the newest point.
TEST_F(CollectionTest, StopDuringTheWaitFinishesThePassWithoutANewPoint) {
    std::array<std::int32_t, chart::kTraceColumns> traceAtStop{};
    std::int32_t plotStartAtStop = 0;
    std::size_t readsAtStop = 0;
    collect([&] {
        if (history().SampleIndex != 14 || !wing().loop.collecting()) return;
        chip().setLight(sim::LightSource::constant(50));
        traceAtStop = wing().chart.TraceY;
        plotStartAtStop = wing().chart.PlotStart;
        readsAtStop = adcReadTimes(0).size();
        panel().cmdStopData_Click();
    });
    EXPECT_EQ(adcReadTimes(0).size(), readsAtStop + 1);
    EXPECT_EQ(frame().txtReading->text(), "3277.000") << "the last read is shown";
    EXPECT_EQ(history().SampleIndex, 14) << "and stored in place, not counted";
    EXPECT_EQ(history().AdcHistory[14], 3277);
    EXPECT_EQ(wing().chart.PlotStart, plotStartAtStop - 1);
    EXPECT_EQ(wing().chart.TraceY[403], traceAtStop[403]) << "no new trace point";
    EXPECT_EQ(wing().chart.TraceY[402], traceAtStop[403]) << "the newest point is repeated";
}

// The loop carries out the changes after its next read, without read-backs of the single writes. Enter
// in a register box is never deferred: its write goes out at once and leaves neither a read-back nor a
// deferred write of its register behind.
TEST_F(CollectionTest, RegisterChangesDuringARunAreMadeBetweenSamplesInTheDesignedOrder) {
    frmTolvane& p = panel();
    std::size_t from = 0, entered = 0;
    collectSamples(6, [&] {
        if (history().SampleIndex == 5 && entered == 0) {
            typeAndEnter(p.txtILowerLimit, "0");
            entered = mark();
            typeAndEnter(p.txtRegHex[3], "00");
            EXPECT_EQ(trafficSince(entered), std::vector<std::string>{"W03=00"});
            EXPECT_EQ(pendingFlags(p), "Update ");
        }
        if (history().SampleIndex != 3 || from != 0) return;
        from = mark();
        typeAndEnter(p.txtILowerLimit, "512");
        typeAndEnter(p.txtIUpperLimit, "8192");
        click(p.cmdClrInt);
        click(p.OptMeasure[2]);  // R0 = 0x88
        click(p.OptGain[1]);     // R1 = 0x04
        EXPECT_EQ(mark(), from) << "nothing goes out while the loop owns the chip";
    });
    EXPECT_THAT(slice(trafficSince(from), 0, 10), ElementsAre("R04x2", "W40=88", "GP", "W01=04", "W00=88",
                                                              "W02=20", "W03=02", "R00x4", "GP", "R04x2"));
    EXPECT_TRUE(pendingFlags(p).empty());
    EXPECT_EQ(chip().reg(0), 0x88);
    EXPECT_EQ(chip().reg(1), 0x04) << "the count stays inside the new window: no interrupt";
}

TEST_F(CollectionTest, WithTheInterruptPinLowEachSampleReadsTheFlagToo) {
    frmTolvane& p = panel();
    chip().setReg(1, 0x20);  // a pending interrupt: the pin goes low, the flag stays through writes
    std::vector<int> sampleIndicator;
    const std::size_t from = mark();
    collectSamples(3, [&] { sampleIndicator.push_back(p.ShpISample->fillColour()); });
    EXPECT_THAT(slice(trafficSince(from), kStartSequence.size(), 3), ElementsAre("GP", "R01x1", "R04x2"));
    EXPECT_EQ(p.ShpINTexternal->fillColour(), BrightRed);
    EXPECT_EQ(p.ShpINt->fillColour(), BrightRed);
    EXPECT_EQ(p.txtRegRd[1]->text(), "20");
    sampleIndicator.erase(std::unique(sampleIndicator.begin(), sampleIndicator.end()), sampleIndicator.end());
    EXPECT_THAT(sampleIndicator, ElementsAre(Black, BrightGreen, Green, BrightGreen, Green))
        << "one flip per poll, the stopped pass's included";

    // Unticked, the box darkens the sample indicator and says how to poll again; a run leaves that
    // caption, also when the box is ticked during it.
    click(p.ChkIpol);
    EXPECT_EQ(p.ShpISample->fillColour(), Black);
    const std::size_t unpolled = mark();
    collectSamples(1);
    EXPECT_THAT(slice(trafficSince(unpolled), kStartSequence.size(), 10), ElementsAre("R04x2", "R04x2"));
    EXPECT_EQ(p.ChkIpol->text(), "Check to enable Interrupt Polling") << "not polling: captions stay";
    duringARun(rig, [&] {
        click(p.ChkIpol);
        EXPECT_EQ(p.ChkIpol->text(), "Check to enable Interrupt Polling") << "ticked during a run";
    });
    click(p.ChkIpol);
    click(p.ChkIpol);
    EXPECT_EQ(p.ChkIpol->text(), "Polling INT Via Register") << "ticked outside a run";
}

TEST_F(CollectionTest, SendEocWritesTheCommandByteAtOnceEvenDuringARun) {
    frmTolvane& p = panel();
    std::size_t from = mark();
    click(frame().cmdSync);
    EXPECT_THAT(trafficSince(from), ElementsAre("W80=80"));
    EXPECT_EQ(p.ShpInd[12]->fillColour(), BrightGreen);
    collectSamples(2, [&] {
        if (history().SampleIndex != 1 || p.ShpInd[12]->fillColour() != BrightGreen) return;
        from = mark();
        click(frame().cmdSync);
        EXPECT_THAT(trafficSince(from), ElementsAre("W80=80"));
    });
    EXPECT_EQ(p.ShpInd[12]->fillColour(), Green);

    // Its data byte is the R0 box: a box that is not a byte is refused, and nothing goes out or flips.
    p.txtRegHex[0]->setText("XYZ");
    from = mark();
    click(frame().cmdSync);
    EXPECT_TRUE(mark() == from && p.ShpInd[12]->fillColour() == Green);
    EXPECT_EQ(rig.dialogs.texts().back(),
              "Command Register R0: enter one or two hexadecimal digits (00 to FF).");
}

// Handlers that restart collection, during a run or while one ends (the end lets events run): the
// old run stops at once without storing, reading or drawing more; then a new run starts whole, in the
// run's log when the program restarts a run that was going. The time base restarts only a run that is
// going.
struct Restart {
    const char* name;
    std::function<void(frmTolvane&)> click;
    std::size_t ownReports;  // what the handler itself sends before the new run starts
};
void PrintTo(const Restart& restart, std::ostream* os) {
    *os << restart.name;
}

class RestartTest : public PanelTest, public ::testing::WithParamInterface<std::tuple<Restart, bool>> {};

TEST_P(RestartTest, ARestartLeavesNoTraceOfTheOldRun) {
    const auto& [restart, whileEnding] = GetParam();
    frmTolvane& p = panel();
    const QTemporaryDir folder;
    wing().record->txtFilePath->setText(folder.filePath("Data.txt"));
    click(wing().record->chkLogEveryReading);
    std::size_t at = 0;
    int stage = 0;
    collect([&] {
        if (stage == 0 && wing().loop.collecting() && history().SampleIndex == 20) {
            stage = 1;
            if (whileEnding) return p.cmdStopData_Click();
        }
        if (stage == 1 && wing().loop.collecting() == !whileEnding &&
            frame().cmdCollectData->isEnabled() == whileEnding) {
            stage = 2;
            at = mark();
            restart.click(p);
            EXPECT_EQ(history().SampleIndex, 20) << "the new run does not start inside the handler";
        } else if (stage == 2 && wing().loop.collecting() && history().SampleIndex == 2) {
            stage = 3;
            p.cmdStopData_Click();
        }
    });
    const bool restarts = !whileEnding || std::string(restart.name) != "TimeBase";
    ASSERT_EQ(stage, restarts ? 3 : 2);
    if (!restarts) return;
    EXPECT_EQ(slice(trafficSince(at), restart.ownReports, kStartSequence.size()), kStartSequence)
        << "no read of the old run comes between";
    EXPECT_EQ(frame().lblLoop_Count->text(), " 10")
        << "the old run's last count stays until the new one counts";
    EXPECT_FALSE(wing().loop.collecting() || wing().loop.running());

    // After the user's Stop the new run has a log of its own. A restart of a run that goes keeps its
    // log: seq starts again, the time runs on, and every reading has its row.
    const QStringList logs = QDir(folder.path()).entryList({"*.csv"});
    ASSERT_EQ(logs.size(), whileEnding ? 2 : 1);
    if (whileEnding) return;
    QFile log(folder.filePath(logs[0]));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = log.readAll().trimmed().split('\n');
    const std::vector<std::uint32_t> reads = adcReadTimes(0);
    ASSERT_EQ(rows.size(), 1 + reads.size()) << "a row for every reading";
    for (std::size_t i = 1; i < reads.size(); ++i) {
        const QList<QByteArray> row = rows[i + 1].split(','), before = rows[i].split(',');
        EXPECT_EQ(row[1].toUInt() - before[1].toUInt(), reads[i] - reads[i - 1]) << i;
        EXPECT_EQ(row[2].toInt(), i == 20 ? -11 : before[2].toInt() + 1) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Handlers, RestartTest,
    ::testing::Combine(
        ::testing::Values(Restart{"AutomaticRescale",
                                  [](frmTolvane& p) { click(p.acquisition().chartFrame->cmdAutoScale); }, 0},
                          Restart{"ManualRescale",
                                  [](frmTolvane& p) { click(p.acquisition().chartFrame->cmdScale); }, 0},
                          Restart{"IntervalEnter",
                                  [](frmTolvane& p) {
                                      p.acquisition().collection->txtInterval->setFocus();
                                      press({Qt::Key_Return});
                                  },
                                  0},
                          Restart{"TimeBase", [](frmTolvane& p) { click(p.OptTimeBase[0]); }, 2}),
        ::testing::Bool()),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) + (std::get<1>(info.param) ? "WhileEnding" : "");
    });

// Automatic re-scale takes 1.15 times the reading as the new scale, only from a settled run with a last
// count above 0 and below 50000; it then relabels and starts a run.
TEST_F(CollectionTest, AutomaticRescaleNeedsSixteenSamplesAndAReadingTheScaleCanHold) {
    ChartFrame& chart = *wing().chartFrame;
    struct Case {
        double lux;  // on the 1k range: count = lux x 65.535
        int samples;
    };
    for (const auto& [lux, samples] :
         std::vector<Case>{{100, 15}, {0, 16}, {762.9511, 16}, {1000, 16}}) {  // counts 6554, 0, 50000, 65535
        SCOPED_TRACE(lux);
        chip().setLight(sim::LightSource::constant(lux));
        collectSamples(samples);
        const std::size_t from = mark();
        collect([&] { panel().cmdStopData_Click(); }, [&] { click(chart.cmdAutoScale); });
        EXPECT_EQ(chart.txtScale->text(), "25000");
        EXPECT_EQ(mark(), from) << "nothing else happens";
    }

    chip().setLight(sim::LightSource::constant(762.94));  // 49999
    collectSamples(16);
    const std::size_t from = mark();
    collect(
        [&] {
            if (history().SampleIndex == 1) panel().cmdStopData_Click();
        },
        [&] { click(chart.cmdAutoScale); });
    EXPECT_EQ(chart.txtScale->text(), " 57498.85");
    EXPECT_EQ(wing().chart.ScaleMax, 57499);
    EXPECT_EQ(wing().chart.ValueLabels[10], "57500");
    EXPECT_EQ(slice(trafficSince(from), 0, kStartSequence.size()), kStartSequence) << "a new run started";
}

class ClicksTest : public PanelTest {
protected:
    ClicksTest() { panel().resize(panel().fullSize()); }

    QLineEdit* interval() { return frame().txtInterval; }
};

// Typing an interval, then clicking "Collect" or leaving the box by Shift+Tab four times and pressing
// Space, all queued at once: the box's focus-out relabels the chart first, then the one run starts, at
// the new interval under the new labels.
TEST_F(ClicksTest, LeavingTheIntervalBoxForCollectStartsOneRunWithTheNewLabels) {
    const struct {
        const char* typed;
        std::function<void()> start;
        const char* span;
        std::uint32_t gap;
    } cases[] = {
        {"10",
         [] {
             press({Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Backtab, Qt::Key_Space});
         },
         "4.00", 7},
        {"50", [this] { click(frame().cmdCollectData); }, "20.00", 47},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        click(interval());
        press({Qt::Key_Backspace, Qt::Key_Backspace, Qt::Key_Backspace});
        type(c.typed);
        const std::size_t from = mark();
        QString span;  // once the run has settled
        collect(
            [&] {
                if (history().SampleIndex < 3 || !wing().loop.collecting()) return;
                span = wing().chart.TimeLabels[10];
                panel().cmdStopData_Click();
            },
            c.start);
        EXPECT_EQ(span, c.span);
        const std::vector<std::string> traffic = trafficSince(from);
        EXPECT_EQ(std::count(traffic.begin(), traffic.end(), "W00=80"), 1) << "one run";
        const std::vector<std::uint32_t> reads = adcReadTimes(from);
        ASSERT_GE(reads.size(), 3u);
        EXPECT_EQ(reads[2] - reads[1], c.gap) << "the run samples at the typed interval";
        EXPECT_FALSE(frame().cmdCollectData->isDown());
    }
}

// The focus leaving the interval box ends the run; the click on "Stop" still says so.
TEST_F(ClicksTest, ClickingStopWithTheFocusInTheIntervalBoxStopsAndSaysSo) {
    collect([&] {
        if (!wing().loop.collecting()) return;
        if (history().SampleIndex == 2 && !interval()->hasFocus()) click(interval());
        if (history().SampleIndex == 4) click(frame().cmdStopData);
    });
    EXPECT_EQ(frame().Label18->text(), "Data Collection Halted");
    EXPECT_FALSE(frame().cmdStopData->isDown());
    EXPECT_FALSE(wing().loop.running());
}

// The panel does not scroll a half-hidden control away from under the pointer.
TEST_F(ClicksTest, APartlyHiddenWriteToDiskWritesOneBlockAtTheFirstClick) {
    QTemporaryDir folder;
    const QString path = folder.filePath("Data.txt");
    wing().record->txtFilePath->setText(path);
    collectSamples(25);
    panel().resize(panel().fullSize() - QSize(250, 0));
    QCoreApplication::processEvents();
    QPushButton* write = wing().record->cmdStartRec;
    QScrollBar* across = panel().scroller()->horizontalScrollBar();
    across->setValue(write->mapTo(panel().scroller()->widget(), QPoint(write->width() / 2, 0)).x() -
                     panel().scroller()->viewport()->width());
    const int scrolled = across->value();
    ASSERT_FALSE(write->visibleRegion().isEmpty());
    ASSERT_LT(write->visibleRegion().boundingRect().width(), write->width()) << "only partly in view";

    click(write);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().count("END"), 1);
    EXPECT_EQ(across->value(), scrolled);
}

// Tab to a control out of view scrolls it into view.
TEST_F(ClicksTest, TabScrollsTheFocusIntoView) {
    panel().resize(600, 400);
    QCoreApplication::processEvents();
    QPushButton* write = wing().record->cmdStartRec;
    ASSERT_TRUE(write->visibleRegion().isEmpty());
    wing().record->chkAppend->setFocus();
    press({Qt::Key_Tab});
    ASSERT_EQ(QApplication::focusWidget(), write);
    EXPECT_FALSE(write->visibleRegion().isEmpty());
}

}  // namespace
