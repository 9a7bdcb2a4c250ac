// Keeping the readings: "Write to Disk", "Log every reading" and readings in lux, and the readings
// offered on every way out; what a sample repaints. Files go to a temporary folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <map>
#include <optional>

#include "platform/repaint_pacer.h"
#include "tests/doubles/file_size_limit.h"
#include "tests/sensor/panel_fixture.h"
#include "tests/support/user_input.h"
#include "view/history_window.h"

using ::testing::ElementsAre;

namespace {

class RecordingTest : public PanelTest {
protected:
    RecordingTest() { record().txtFilePath->setText(path); }

    frmDataRecord& record() { return *wing().record; }
    QString illuminance() { return frame().txtIlluminance->text(); }
    QByteArray written() {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The lines of a file in the folder, without their CR LF.
    QList<QByteArray> linesOf(const QString& name) {
        QFile file(folder.filePath(name));
        if (!file.open(QIODevice::ReadOnly)) return {};
        QByteArray all = file.readAll();
        EXPECT_EQ(all.count('\n'), all.count("\r\n")) << "every line ends with CR LF";
        all.replace("\r\n", "\n").chop(1);
        return all.split('\n');
    }
    QStringList csvFiles() { return QDir(folder.path()).entryList({"*.csv"}, QDir::Files, QDir::Name); }

    QTemporaryDir folder;
    QString path = folder.filePath("Data.txt");
    const QString kLog = "Data-20261207-093005.csv";  // the log of a run started as the calendar stands
};

TEST_F(RecordingTest, WriteToDiskWritesTheCountedReadingsOfTheLastRunAndSaysSo) {
    click(record().cmdStartRec);
    collectSamples(19);
    click(record().cmdStartRec);
    EXPECT_THAT(rig.dialogs.texts(), ElementsAre("Save More Measurements", "Save More Measurements"));
    EXPECT_EQ(rig.dialogs.shown.back().title, "Tolvane");
    EXPECT_FALSE(QFile::exists(path));

    // Written during a run, which stops as after Stop: its pass ends with one more read.
    record().chkAppend->setChecked(false);
    std::size_t readsAfterWrite = 0;
    collectSamples(30, [&] {
        if (history().SampleIndex == 20 && wing().loop.collecting()) {
            click(record().cmdStartRec);
            readsAfterWrite = adcReadTimes(0).size();
        }
    });
    EXPECT_EQ(adcReadTimes(0).size(), readsAfterWrite + 1);
    QByteArray expected =
        "Seq,AD Decimal,Integration,Reg0:&h80 :Reg1 &h00,Interval 100, 12-07-2026,09:30:05, Qty 9\r\n";
    for (int i = 0; i < 9; ++i) expected += QString(" %1, 6554, 1\r\n").arg(i).toUtf8();
    expected += "END\r\n";
    EXPECT_EQ(written(), expected);
    EXPECT_EQ(frame().Label18->text(), " 9 Measurement set(s) written: 12-07-2026 09:30:05");
    EXPECT_TRUE(frame().cmdCollectData->isEnabled());

    record().chkAppend->setChecked(true);
    click(record().cmdStartRec);
    EXPECT_EQ(written(), expected + expected) << "the same block again, appended";
}

// A bare name gets ".txt"; a cancelled choice keeps the box.
TEST_F(RecordingTest, BrowseTakesTheChosenFileAndACancelledChoiceKeepsTheBox) {
    for (const char* chosen : {"run1.txt", "run2", "run3.csv"})
        rig.dialogs.chooseFileAnswer(folder.filePath(chosen));
    for (const char* shown : {"run1.txt", "run2.txt", "run3.csv", "run3.csv"}) {
        click(record().cmdBrowse);  // the last one cancelled
        EXPECT_EQ(record().txtFilePath->text(), folder.filePath(shown));
    }
    ASSERT_EQ(rig.dialogs.fileRequests.size(), 4u);
    EXPECT_EQ(rig.dialogs.fileRequests[0].title, "Select File For Recording");
    EXPECT_EQ(rig.dialogs.fileRequests[0].fileName, "");
    EXPECT_EQ(rig.dialogs.fileRequests[0].filter, "All Files (*.*)|*.*|Tolvane Data Files(*.txt)|*.txt");
}

// The count's illuminance under each range and resolution as the panel set them, at 310 lux (100 of
// them infrared): count x range / 2^bits, one decimal. D2 alone sees no visible light.
TEST_F(RecordingTest, TheIlluminanceFollowsTheRangeResolutionAndModeOfEachRead) {
    chip().setLight(sim::LightSource::constant(310, 100));
    frmTolvane& p = panel();
    const struct {
        QWidget* option;
        const char* shown;
    } cases[] = {
        {p.OptITime[0], "310.0"}, {p.OptITime[1], "309.8"},   {p.OptITime[2], "308.6"},
        {p.OptITime[3], "312.5"}, {p.OptITime[0], "310.0"},   {p.OptGain[1], "310.0"},
        {p.OptGain[2], "310.1"},  {p.OptGain[3], "309.6"},    {p.OptGain[0], "310.0"},
        {p.OptMeasure[1], ""},    {p.OptMeasure[2], "210.0"}, {p.OptMeasure[0], "310.0"},
    };
    for (const auto& c : cases) {
        click(c.option);
        rig.clock.advance(110);  // an integration under the new setting
        click(p.cmdRead_Measurements);
        EXPECT_EQ(illuminance(), c.shown) << qPrintable(static_cast<QAbstractButton*>(c.option)->text());
    }
    EXPECT_EQ(frame().txtIlluminance->accessibleName(), "Illuminance (lux)");
}

// A run logs every reading, the settling ones too, in the record file's numbering: the rows of
// sequence 0 on are the record file's data lines, count for count. The rows reach the disk within a
// second; a second run writes a second file.
TEST_F(RecordingTest, ARunLogsEveryReadingBesideTheRecordFile) {
    click(record().chkLogEveryReading);
    qint64 onDiskAfterASecond = -1;
    collectSamples(25, [&] {
        if (history().SampleIndex == 15 && onDiskAfterASecond < 0) onDiskAfterASecond = linesOf(kLog).size();
    });
    EXPECT_GE(onDiskAfterASecond, 11) << "1.5 s into the run";
    click(record().cmdStartRec);

    const QList<QByteArray> rows = linesOf(kLog);
    ASSERT_EQ(rows.size(), 1 + 26) << "the header, 25 readings and the stopped pass's";
    EXPECT_EQ(rows[0], "time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode");
    EXPECT_EQ(rows[1], "2026-12-07T09:30:05.097,97,-11,0,0.000,1000,16,D1") << "before any integration";
    EXPECT_EQ(rows[12], "2026-12-07T09:30:06.164,1164,0,6554,100.006,1000,16,D1");
    const QList<QByteArray> recordLines = linesOf("Data.txt");
    ASSERT_EQ(recordLines.size(), 1 + 14 + 1);
    for (int seq = 0; seq < 14; ++seq) {
        const QList<QByteArray> row = rows[12 + seq].split(',');
        EXPECT_EQ(" " + row[2] + ", " + row[3] + ", 1", recordLines[1 + seq]) << seq;
    }
    EXPECT_EQ(illuminance(), "100.0");
    EXPECT_EQ(record().txtReadingLog->text(), kLog + ": 26 rows");

    // A second run writes a second file. A disk that fills up stops the log, never the run, and the line
    // says why beside the rows the file keeps.
    {
        const FileSizeLimit full(1000);
        collectSamples(40);
    }
    EXPECT_EQ(history().SampleIndex, 40);
    EXPECT_EQ(csvFiles(), QStringList({"Data-20261207-093005-2.csv", "Data-20261207-093005.csv"}));
    const QList<QByteArray> kept = linesOf("Data-20261207-093005-2.csv");
    EXPECT_GT(kept.size(), 1 + 10) << "the rows of the first second, and those that fitted after";
    EXPECT_EQ(record().txtReadingLog->text(),
              QString("Log stopped after %1 rows: File too large").arg(kept.size() - 1));
}

// A sample repaints what it changed and nothing else, and lays nothing out again. Under a steady light
// each sample changes the count of readings, the ADC indicators and the plot, and twice a second the
// log's line; the boxes whose texts stay the same and the frames around all of them do not repaint.
TEST_F(RecordingTest, ASampleRepaintsWhatItChangedAlone) {
    struct Counter : QObject {
        std::map<QObject*, int> paints;
        int layouts = 0;
        bool counting = false;
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (!counting) return false;
            if (event->type() == QEvent::Paint) ++paints[watched];
            if (event->type() == QEvent::LayoutRequest && static_cast<QWidget*>(watched)->layout()) ++layouts;
            return false;
        }
    } counter;
    click(record().chkLogEveryReading);
    RepaintPacer* pacer = panel().findChild<RepaintPacer*>();
    int seen = 0;
    collectSamples(30, [&] {
        if (history().SampleIndex == seen) return;
        seen = history().SampleIndex;
        counter.counting = seen >= 20 && seen < 30;  // ten samples, while the run goes on
        if (seen == 20) {
            panel().installEventFilter(&counter);
            for (QWidget* widget : panel().findChildren<QWidget*>()) widget->installEventFilter(&counter);
        }
        pacer->frameDue();  // each sample's frame ends before the next sample
    });
    frmTolvane& p = panel();
    for (const auto& [widget, paints] :
         std::vector<std::pair<QWidget*, int>>{{frame().lblLoop_Count, 10},
                                               {p.ShpInd[8], 10},
                                               {wing().chartFrame->Picture1, 10},
                                               {frame().txtReading, 0},
                                               {frame().txtIlluminance, 0},
                                               {frame().txtTime1, 0},
                                               {frame().txtTime3, 0},
                                               {p.txtRegRd[4], 0},
                                               {&frame(), 0},
                                               {&record(), 0},
                                               {wing().chartFrame->Picture2, 0},
                                               {&p, 0}})
        EXPECT_EQ(counter.paints[widget], paints) << widget->metaObject()->className();
    EXPECT_GE(counter.paints[record().txtReadingLog], 1);
    EXPECT_EQ(counter.layouts, 0);
}

// "History..." opens the view on the run being logged: the rows so far from the disk, then each as it is
// taken, at most five redraws a second, the whole run in sight. The next run takes its place; a drag
// keeps the user's span while the run goes on.
TEST_F(RecordingTest, HistoryFollowsTheRunBeingLoggedUntilAPanAndTheNextRunReplacesIt) {
    click(record().chkLogEveryReading);
    HistoryWindow* view = nullptr;
    std::optional<QSignalSpy> redraws;
    std::map<int, qsizetype> redrawsBySample;
    collectSamples(51, [&] {
        const int stored = history().SampleIndex;
        if (stored == 10 && !view) {
            click(record().cmdHistory);
            view = wing().historyView.window();
            view->finishLoading();  // the rows so far, read on a thread of real time
            redraws.emplace(view->plot, &HistoryPlot::spanChanged);
        }
        if (redraws) redrawsBySample.try_emplace(stored, redraws->size());
    });
    ASSERT_TRUE(view && view->isWindow());
    const qsizetype inThreeSeconds = redrawsBySample[50] - redrawsBySample[20];
    EXPECT_GE(inThreeSeconds, 14);
    EXPECT_LE(inThreeSeconds, 15);
    EXPECT_EQ(view->lblStatistics->text().section(" readings", 0, 0).toStdString(),
              (kLog + ": 52").toStdString())
        << "every reading once, the whole run on screen, the last too";

    std::pair<double, double> panned;
    collectSamples(40, [&] {
        if (history().SampleIndex != 30 || !view->plot->following()) return;
        HistoryPlot& plot = *view->plot;
        const int middle = plot.axisRect()->center().y();
        drag(&plot, {plot.axisRect()->center().x(), middle}, {plot.axisRect()->left() + 10, middle});
        panned = {plot.spanFromMs(), plot.spanToMs()};
    });
    ASSERT_EQ(view->plot->legend->itemCount(), 1);
    EXPECT_EQ(view->plot->graph(0)->name(), "Data-20261207-093005-2.csv");
    EXPECT_FALSE(view->plot->following());
    EXPECT_EQ(std::make_pair(view->plot->spanFromMs(), view->plot->spanToMs()), panned);
}

// The box takes effect at once: unticked, the file closes and the line keeps saying what it holds;
// ticked again, a new file takes the readings from the next on, in the run's numbering.
TEST_F(RecordingTest, TickingOrUntickingTheLogDuringARunTakesEffectAtOnce) {
    QCheckBox* box = record().chkLogEveryReading;
    click(box);
    QString lineAtUntick;
    collectSamples(30, [&] {
        if (history().SampleIndex == 10 && box->isChecked() && lineAtUntick.isEmpty()) {
            click(box);
            lineAtUntick = record().txtReadingLog->text();
        }
        if (history().SampleIndex == 20 && !box->isChecked()) click(box);
    });
    EXPECT_EQ(lineAtUntick, kLog + ": 10 rows");
    EXPECT_EQ(linesOf(kLog).size(), 1 + 10);
    const QList<QByteArray> rows = linesOf("Data-20261207-093005-2.csv");
    ASSERT_EQ(rows.size(), 1 + 11) << "readings 20 to 29 and the stopped pass's";
    EXPECT_EQ(rows[1].split(',')[2], "9");
}

// Every box about a file says which file and what is wrong, and nothing waits: a pipe is refused
// before anything opens it. A log that cannot start leaves no file behind and the run goes on; a
// failed write loses nothing, leaves the status line alone and keeps the readings offered.
TEST_F(RecordingTest, TheBoxesNameTheFileAndTheReadingsStayOffered) {
    const QString pipe = folder.filePath("pipe.txt"), missing = folder.filePath("missing/Data.txt");
    const QString logThere = folder.filePath("missing/" + kLog), logHere = folder.filePath(kLog);
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString refused =
        pipe + " is a named pipe (FIFO), not a file. Choose a regular file for the readings.";
    const auto noLog = [](const QString& log, const char* why) {
        return QString("The log of every reading%1 could not be created: %2. The run goes on without it.")
            .arg(log.isEmpty() ? log : ", " + log + ",", why);
    };
    const QString again =
        "The 14 readings of this run could not be written to %1. Choose another file for "
        "them? No closes the program without them.";
    enum Action { WriteToDisk, LogARun, Leave };
    const struct {
        Action action;
        QString path;
        std::vector<QString> boxes;
    } cases[] = {
        {LogARun, missing, {noLog(logThere, "No such file or directory")}},
        {LogARun, "", {noLog("", "No file name specified")}},
        {LogARun, path, {noLog(logHere, "File too large")}},  // the disk full from the start
        {WriteToDisk, missing, {"No such file or directory"}},
        {WriteToDisk, pipe, {refused}},
        // No file named: Yes chooses one first, here the pipe; then a cancelled choice asks again.
        {Leave,
         "",
         {"Write the 14 readings of this run to a file before closing? Yes lets you choose it.", refused,
          again.arg(pipe), again.arg(pipe)}},
    };
    click(record().chkLogEveryReading);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boxes.front().toStdString());
        record().txtFilePath->setText(c.path);
        const QString status = frame().Label18->text();
        rig.dialogs.shown.clear();
        if (c.action == LogARun) {
            const std::optional<FileSizeLimit> full =
                c.path == path ? std::optional<FileSizeLimit>(std::in_place, 0) : std::nullopt;
            collectSamples(25);
            EXPECT_EQ(history().SampleIndex, 25) << "the run went on";
        } else if (c.action == WriteToDisk) {
            click(record().cmdStartRec);
            EXPECT_EQ(frame().Label18->text(), status);
            EXPECT_TRUE(frame().cmdCollectData->isEnabled());
        } else {
            for (const int answer : {AnswerYes, AnswerOk, AnswerYes, AnswerYes}) rig.dialogs.answer(answer);
            for (const char* chosen : {"pipe.txt", "", "kept.txt"})
                rig.dialogs.chooseFileAnswer(*chosen ? folder.filePath(chosen) : "");
            click(frame().Command4);
        }
        EXPECT_EQ(rig.dialogs.texts(), c.boxes);
        EXPECT_EQ(csvFiles(), QStringList()) << "no log left behind";
    }
    EXPECT_TRUE(rig.exit.requested());
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList("kept.txt"));
    EXPECT_EQ(linesOf("kept.txt").size(), 1 + 14 + 1);
}

// Every way out offers the last run's readings that no "Write to Disk" has kept, after the way's own box
// if it has one, and only the user's No drops them: a write that fails says why, then asks for another
// file or a knowing No.
enum class Way { Exit, CloseBox, CancelInAUsbBox, LinkLostDuringARun };

struct Leaving {
    const char* name;
    Way way;
    int samples;
    bool savedFirst, pathIsAFolder;  // a folder: the write fails
    const char* answers;             // to the boxes after the way's own, in this order: Yes, No, Ok
    bool kept;                       // the record file holds the readings, once
};

void PrintTo(const Leaving& leaving, std::ostream* os) {
    *os << leaving.name;
}

class LeavingTest : public RecordingTest, public ::testing::WithParamInterface<Leaving> {
protected:
    // Leaves the program the way the case names; returns the way's own box, if any, answered.
    QString leave(Way way) {
        switch (way) {
            case Way::Exit:
                click(frame().Command4);
                return {};
            case Way::CloseBox:
                panel().close();
                return {};
            case Way::CancelInAUsbBox:
                rig.bus.unplug(rig.board());
                click(panel().cmdSample_Portb);
                return "Please check USB connection.\r\ncheckStatus";
            case Way::LinkLostDuringARun:
                collect([&] {
                    if (wing().loop.collecting() && history().SampleIndex == 25) rig.bus.unplug(rig.board());
                });
                return "Error, USB Communications has been lost, shutting down. Check Eval board connection "
                       "and re-start the app.";
        }
        return {};
    }
};

TEST_P(LeavingTest, EveryWayOutOffersTheUnsavedReadingsAndOnlyANoDropsThem) {
    const Leaving& c = GetParam();
    collectSamples(c.samples);
    if (c.savedFirst) click(record().cmdStartRec);
    if (c.pathIsAFolder) record().txtFilePath->setText(folder.path());
    rig.dialogs.shown.clear();
    const bool boxFirst = c.way == Way::CancelInAUsbBox || c.way == Way::LinkLostDuringARun;
    if (boxFirst) rig.dialogs.answer(c.way == Way::CancelInAUsbBox ? AnswerCancel : AnswerOk);
    std::string expected = boxFirst ? "O" : "";
    for (const char* a = c.answers; *a; ++a) {
        rig.dialogs.answer(*a == 'Y' ? AnswerYes : *a == 'N' ? AnswerNo : AnswerOk);
        expected += *a == 'O' ? 'O' : 'Q';
    }
    const QString firstBox = leave(c.way);
    EXPECT_TRUE(rig.exit.requested());

    std::string asked;
    for (const MessageBoxRequest& box : rig.dialogs.shown)
        asked += box.buttons == DialogButtons::YesNo ? 'Q' : 'O';
    ASSERT_EQ(asked, expected);
    const std::vector<QString> texts = rig.dialogs.texts();
    EXPECT_EQ(boxFirst ? texts.front() : QString(), firstBox);
    const QString offer =
        QString("Write the 14 readings of this run to %1 before closing?").arg(record().txtFilePath->text());
    EXPECT_EQ(*c.answers ? texts[boxFirst] : offer, offer);
    EXPECT_EQ(written().count("END"), c.kept ? 1 : 0);
    EXPECT_TRUE(!c.kept || written().endsWith(" 13, 6554, 1\r\nEND\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LeavingTest,
    ::testing::Values(Leaving{"Exit", Way::Exit, 25, false, false, "Y", true},
                      Leaving{"CloseBox", Way::CloseBox, 25, false, false, "Y", true},
                      Leaving{"CancelInAUsbBox", Way::CancelInAUsbBox, 25, false, false, "Y", true},
                      Leaving{"LinkLostDuringARun", Way::LinkLostDuringARun, 25, false, false, "Y", true},
                      Leaving{"No", Way::CloseBox, 25, false, false, "N", false},
                      Leaving{"TooFewToWrite", Way::Exit, 19, false, false, "", false},
                      Leaving{"AlreadyWritten", Way::Exit, 25, true, false, "", true},
                      Leaving{"FailedThenNo", Way::Exit, 25, false, true, "YON", false}),
    [](const ::testing::TestParamInfo<Leaving>& info) { return std::string(info.param.name); });

// Exit is hidden while a run goes on; the window's close box is the way out then.
TEST_F(RecordingTest, ClosingTheWindowDuringARunEndsTheProgramWithoutAnotherSample) {
    std::size_t reads = 0;
    collect([&] {
        if (history().SampleIndex == 5 && !rig.exit.requested()) {
            reads = adcReadTimes(0).size();
            panel().close();
        }
    });
    EXPECT_TRUE(rig.exit.requested());
    EXPECT_EQ(adcReadTimes(0).size(), reads);
    EXPECT_FALSE(wing().loop.running());
    EXPECT_TRUE(wing().loop.ownsChip() && !wing().loop.collecting());
}

}  // namespace
