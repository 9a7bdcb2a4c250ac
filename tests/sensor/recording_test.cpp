// Keeping the readings: "Write to Disk", "Log every reading" and readings in lux, and the readings
// offered on every way out; what a sample repaints. Files go to a temporary folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "platform/repaint_pacer.h"
#include "tests/sensor/panel_fixture.h"
#include "tests/support/user_input.h"

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
};

TEST_F(RecordingTest, WriteToDiskWritesTheCountedReadingsOfTheLastRunAndSaysSo) {
    click(record().cmdStartRec);
    collectSamples(19);
    click(record().cmdStartRec);
    EXPECT_THAT(rig.dialogs.texts(), ElementsAre("Save More Measurements", "Save More Measurements"));
    EXPECT_EQ(rig.dialogs.shown.back().title, "Tolvane");
    EXPECT_FALSE(QFile::exists(path));

    collectSamples(20);
    record().chkAppend->setChecked(false);
    click(record().cmdStartRec);
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

// A failure says what the system said, loses nothing and leaves the status line alone.
TEST_F(RecordingTest, WritingDuringARunStopsItAndAFailureShowsTheSystemsMessage) {
    record().chkAppend->setChecked(false);
    std::size_t readsAfterWrite = 0;
    collect([&] {
        if (history().SampleIndex == 25 && panel().Collecting) {
            click(record().cmdStartRec);
            readsAfterWrite = adcReadTimes(0).size();
        }
    });
    EXPECT_EQ(adcReadTimes(0).size(), readsAfterWrite + 1) << "the run's pass ends as after a stop";
    EXPECT_TRUE(written().endsWith(" 13, 6554, 1\r\nEND\r\n"));
    const QByteArray before = written();
    const QString status = frame().Label18->text();

    record().txtFilePath->setText(folder.filePath("missing/Data.txt"));
    const std::size_t boxes = rig.dialogs.shown.size();
    click(record().cmdStartRec);
    ASSERT_EQ(rig.dialogs.shown.size(), boxes + 1);
    EXPECT_EQ(rig.dialogs.shown.back().text, "No such file or directory");
    EXPECT_EQ(rig.dialogs.shown.back().title, "Tolvane");
    EXPECT_EQ(frame().Label18->text(), status);
    EXPECT_TRUE(frame().cmdCollectData->isEnabled());
    EXPECT_EQ(written(), before);
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
        if (history().SampleIndex == 15 && onDiskAfterASecond < 0)
            onDiskAfterASecond = linesOf("Data-20261207-093005.csv").size();
    });
    EXPECT_GE(onDiskAfterASecond, 11) << "1.5 s into the run";
    click(record().cmdStartRec);

    const QList<QByteArray> rows = linesOf("Data-20261207-093005.csv");
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
    EXPECT_EQ(record().lblReadingLog->text(), "Data-20261207-093005.csv: 26 rows");

    collectSamples(3);
    EXPECT_EQ(csvFiles(), QStringList({"Data-20261207-093005-2.csv", "Data-20261207-093005.csv"}));
    EXPECT_EQ(linesOf("Data-20261207-093005-2.csv").size(), 1 + 4);
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
        pacer->frameDue();                           // each sample's frame ends before the next sample
        if (seen != 20) return;
        panel().installEventFilter(&counter);
        for (QWidget* widget : panel().findChildren<QWidget*>()) widget->installEventFilter(&counter);
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
    EXPECT_GE(counter.paints[record().lblReadingLog], 1);
    EXPECT_EQ(counter.layouts, 0);
}

// Lowers the largest file this process may write, the way a full disk stops a write part way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) : oldHandler_(::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &old_);
        const rlimit limited{bytes, old_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }

private:
    sighandler_t oldHandler_;
    rlimit old_{};
};

// A failing log stops and says why; the run goes on and the rows written stay. A path box naming no
// usable folder says so once, and the run goes on without a log.
TEST_F(RecordingTest, ALogThatCannotBeWrittenNeverStopsTheRun) {
    click(record().chkLogEveryReading);
    {
        const FileSizeLimit full(1000);
        collectSamples(40);
    }
    EXPECT_EQ(history().SampleIndex, 40);
    const QList<QByteArray> kept = linesOf(csvFiles().value(0));
    EXPECT_EQ(record().lblReadingLog->text(),
              QString("Log stopped after %1 rows: File too large").arg(kept.size() - 1));
    EXPECT_GT(kept.size(), 1 + 10) << "the rows of the first second, and those that fitted after";
    EXPECT_EQ(kept.back().count(','), 7) << "no row cut short";

    record().txtFilePath->setText(folder.filePath("gone/Data.txt"));
    const std::size_t boxes = rig.dialogs.shown.size();
    collectSamples(20);
    EXPECT_EQ(history().SampleIndex, 20);
    ASSERT_EQ(rig.dialogs.shown.size(), boxes + 1);
    EXPECT_EQ(rig.dialogs.texts().back(), "No such file or directory");
    EXPECT_EQ(csvFiles().size(), 1);
}

// Every way out offers the last run's readings that no "Write to Disk" has kept, and Yes keeps them;
// a lost link says so first, a failed request has its box first.
enum class Way { Exit, CloseBox, CancelInAUsbBox, LinkLostDuringARun };

class WayOutTest : public RecordingTest, public ::testing::WithParamInterface<Way> {
protected:
    // Leaves the program the way the case names, after a run of 25 samples; returns the box shown before
    // the offer, if any.
    QString leave() {
        switch (GetParam()) {
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
                    if (panel().Collecting && history().SampleIndex == 25) rig.bus.unplug(rig.board());
                });
                return "Error, USB Communications has been lost, shutting down. Check Eval board connection "
                       "and "
                       "re-start the app.";
        }
        return {};
    }
};

TEST_P(WayOutTest, EveryWayOutOffersTheUnsavedReadingsAndYesWritesThem) {
    collectSamples(25);
    rig.dialogs.shown.clear();
    const bool boxFirst = GetParam() == Way::CancelInAUsbBox || GetParam() == Way::LinkLostDuringARun;
    if (boxFirst) rig.dialogs.answer(GetParam() == Way::CancelInAUsbBox ? AnswerCancel : AnswerOk);
    rig.dialogs.answer(AnswerYes);
    const QString firstBox = leave();
    EXPECT_TRUE(rig.exit.requested());
    std::vector<QString> expected{
        QString("Write the 14 readings of this run to %1 before closing?").arg(path)};
    if (!firstBox.isEmpty()) expected.insert(expected.begin(), firstBox);
    EXPECT_EQ(rig.dialogs.texts(), expected);
    EXPECT_TRUE(written().endsWith(" 13, 6554, 1\r\nEND\r\n"));
    EXPECT_EQ(written().count("END"), 1) << "written once";
}

INSTANTIATE_TEST_SUITE_P(Ways, WayOutTest,
                         ::testing::Values(Way::Exit, Way::CloseBox, Way::CancelInAUsbBox,
                                           Way::LinkLostDuringARun));

// Only the user's answer drops the readings: a write that fails says why, then asks for another file
// (a cancelled choice asks again) or a knowing No.
struct Leaving {
    const char* name;
    int samples;
    bool savedFirst, pathIsAFolder;   // a folder: the write fails
    const char* answers;              // to the boxes, which must be asked in this order: Yes, No, Ok
    std::vector<const char*> chosen;  // what the file dialog returns ("" cancelled)
    const char* keptIn;               // the file that holds the readings at the end, if any
};

void PrintTo(const Leaving& leaving, std::ostream* os) {
    *os << leaving.name;
}

class LeavingTest : public RecordingTest, public ::testing::WithParamInterface<Leaving> {};

TEST_P(LeavingTest, OnTheWayOutOnlyAnExplicitNoDropsTheReadings) {
    const Leaving& c = GetParam();
    collectSamples(c.samples);
    if (c.savedFirst) click(record().cmdStartRec);
    if (c.pathIsAFolder) record().txtFilePath->setText(folder.path());
    rig.dialogs.shown.clear();
    std::string expected;
    for (const char* a = c.answers; *a; ++a) {
        rig.dialogs.answer(*a == 'Y' ? AnswerYes : *a == 'N' ? AnswerNo : AnswerOk);
        expected += *a == 'O' ? 'O' : 'Q';
    }
    for (const char* file : c.chosen) rig.dialogs.chooseFileAnswer(*file ? folder.filePath(file) : "");
    click(frame().Command4);

    std::string asked;
    for (const MessageBoxRequest& box : rig.dialogs.shown)
        asked += box.buttons == DialogButtons::YesNo ? 'Q' : 'O';
    EXPECT_EQ(asked, expected);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), c.keptIn ? QStringList{c.keptIn} : QStringList{});
    if (c.keptIn) {
        QFile kept(folder.filePath(c.keptIn));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll().count("END"), 1);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Answers, LeavingTest,
    ::testing::Values(Leaving{"No", 25, false, false, "N", {}, nullptr},
                      Leaving{"TooFewToWrite", 19, false, false, "", {}, nullptr},
                      Leaving{"AlreadyWritten", 25, true, false, "", {}, "Data.txt"},
                      Leaving{"FailedThenAnotherFile", 25, false, true, "YOYY", {"", "kept"}, "kept.txt"},
                      Leaving{"FailedThenNo", 25, false, true, "YON", {}, nullptr}),
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
    EXPECT_FALSE(wing().running());
    EXPECT_TRUE(panel().StopRequested && !panel().Collecting);
}

}  // namespace
