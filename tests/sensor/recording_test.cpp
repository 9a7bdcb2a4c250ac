// Keeping the readings: "Write to Disk" through the panel, the readings offered when the link is lost,
// and "Exit" in the middle of a run. Files go to a temporary folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/sensor/panel_fixture.h"
#include "tests/support/user_input.h"

using ::testing::ElementsAre;

namespace {

class RecordingTest : public PanelTest {
protected:
    RecordingTest() { record().txtFilePath->setText(path); }

    frmDataRecord& record() { return *wing().record; }
    QByteArray written() {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

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

// "Write to Disk" during a run ends the run; a failure says what the system said, loses nothing and
// leaves the status line alone.
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

// "Browse" takes the chosen file, giving a bare name the text files' ".txt"; a cancelled choice keeps
// the box.
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
    bool savedFirst;
    bool pathIsAFolder;                // the write fails: the record path names a folder
    std::vector<int> answers;          // Yes/No to the questions, OK to the write's message
    std::vector<const char*> chosen;   // what the file dialog returns ("" cancelled)
    std::vector<DialogButtons> boxes;  // what is asked, in order
    const char* keptIn;                // the file that holds the readings at the end, if any
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
    for (int answer : c.answers) rig.dialogs.answer(answer);
    for (const char* file : c.chosen) rig.dialogs.chooseFileAnswer(*file ? folder.filePath(file) : "");
    click(frame().Command4);

    std::vector<DialogButtons> asked;
    for (const MessageBoxRequest& box : rig.dialogs.shown) asked.push_back(box.buttons);
    EXPECT_EQ(asked, c.boxes);
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), c.keptIn ? QStringList{c.keptIn} : QStringList{});
    if (c.keptIn) {
        QFile kept(folder.filePath(c.keptIn));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll().count("END"), 1);
    }
}

constexpr auto kQuestion = DialogButtons::YesNo;
constexpr auto kMessage = DialogButtons::Ok;

INSTANTIATE_TEST_SUITE_P(
    Answers, LeavingTest,
    ::testing::Values(Leaving{"No", 25, false, false, {AnswerNo}, {}, {kQuestion}, nullptr},
                      Leaving{"TooFewToWrite", 19, false, false, {}, {}, {}, nullptr},
                      Leaving{"AlreadyWritten", 25, true, false, {}, {}, {}, "Data.txt"},
                      Leaving{"FailedThenAnotherFile",
                              25,
                              false,
                              true,
                              {AnswerYes, AnswerOk, AnswerYes, AnswerYes},
                              {"", "kept"},
                              {kQuestion, kMessage, kQuestion, kQuestion},
                              "kept.txt"},
                      Leaving{"FailedThenNo",
                              25,
                              false,
                              true,
                              {AnswerYes, AnswerOk, AnswerNo},
                              {},
                              {kQuestion, kMessage, kQuestion},
                              nullptr}),
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
