// Keeping the readings: "Write to Disk" through the panel, the readings offered when the link is lost,
// and "Exit" in the middle of a run. Files go to a temporary folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/sensor/collection_fixture.h"
#include "tests/support/screenshots.h"

using ::testing::ElementsAre;

namespace {

class RecordingTest : public CollectionTest {
protected:
    RecordingTest() { record().txtFilePath->setText(path); }

    frmDataRecord& record() { return *wing().record; }
    QByteArray written() {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    std::vector<QString> boxTexts() {
        std::vector<QString> texts;
        for (const MessageBoxRequest& box : rig.dialogs.shown) texts.push_back(box.text);
        return texts;
    }

    QTemporaryDir folder;
    QString path = folder.filePath("Data.txt");
};

TEST_F(RecordingTest, WriteToDiskWritesTheCountedReadingsOfTheLastRunAndSaysSo) {
    record().cmdStartRec->click();
    collectSamples(19);
    record().cmdStartRec->click();
    EXPECT_THAT(boxTexts(), ElementsAre("Save More Measurements", "Save More Measurements"));
    EXPECT_EQ(rig.dialogs.shown.back().title, "Tolvane");
    EXPECT_FALSE(QFile::exists(path));

    collectSamples(20);
    record().chkAppend->setChecked(false);
    record().cmdStartRec->click();
    QByteArray expected =
        "Seq,AD Decimal,Integration,Reg0:&h80 :Reg1 &h00,Interval 100, 12-07-2026,09:30:05, Qty 9\r\n";
    for (int i = 0; i < 9; ++i) expected += QString(" %1, 6554, 1\r\n").arg(i).toUtf8();
    expected += "END\r\n";
    EXPECT_EQ(written(), expected);
    EXPECT_EQ(frame().Label18->text(), " 9 Measurement set(s) written: 12-07-2026 09:30:05");
    EXPECT_TRUE(frame().cmdCollectData->isEnabled());

    record().chkAppend->setChecked(true);
    record().cmdStartRec->click();
    EXPECT_EQ(written(), expected + expected) << "the same block again, appended";
}

// "Write to Disk" during a run ends the run; a failure says what the system said, loses nothing and
// leaves the status line alone.
TEST_F(RecordingTest, WritingDuringARunStopsItAndAFailureShowsTheSystemsMessage) {
    record().chkAppend->setChecked(false);
    std::size_t readsAfterWrite = 0;
    collect([&] {
        if (history().SampleIndex == 25 && panel().Collecting) {
            record().cmdStartRec->click();
            readsAfterWrite = adcReadTimes(0).size();
        }
    });
    EXPECT_EQ(adcReadTimes(0).size(), readsAfterWrite + 1) << "the run's pass ends as after a stop";
    EXPECT_TRUE(written().endsWith(" 13, 6554, 1\r\nEND\r\n"));
    const QByteArray before = written();
    const QString status = frame().Label18->text();

    for (const QString& bad : {folder.path(), folder.filePath("missing/Data.txt"), QString()}) {
        SCOPED_TRACE(bad.toStdString());
        record().txtFilePath->setText(bad);
        const std::size_t boxes = rig.dialogs.shown.size();
        record().cmdStartRec->click();
        ASSERT_EQ(rig.dialogs.shown.size(), boxes + 1);
        EXPECT_FALSE(rig.dialogs.shown.back().text.isEmpty());
        EXPECT_EQ(rig.dialogs.shown.back().title, "Tolvane");
        EXPECT_EQ(frame().Label18->text(), status);
        EXPECT_TRUE(frame().cmdCollectData->isEnabled());
    }
    EXPECT_EQ(written(), before);
}

TEST_F(RecordingTest, BrowseTakesTheChosenFileAndACancelledChoiceKeepsTheBox) {
    rig.dialogs.chooseFileAnswer(folder.filePath("run1.txt"));
    record().cmdBrowse->click();
    EXPECT_EQ(record().txtFilePath->text(), folder.filePath("run1.txt"));
    record().cmdBrowse->click();  // cancelled
    EXPECT_EQ(record().txtFilePath->text(), folder.filePath("run1.txt"));
    ASSERT_EQ(rig.dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(rig.dialogs.fileRequests[0].title, "Select File For Recording");
    EXPECT_EQ(rig.dialogs.fileRequests[0].fileName, "");
    EXPECT_EQ(rig.dialogs.fileRequests[0].filter, "All Files (*.*)|*.*|Tolvane Data Files(*.txt)|*.txt");
}

// A lost link ends the program after its message; readings no "Write to Disk" has kept are offered
// first, when there are enough to write.
struct LostLink {
    const char* name;
    int samples;      // stored when the cable is pulled
    bool savedFirst;  // "Write to Disk" just before
    int answer;
    bool asked;
};

void PrintTo(const LostLink& lost, std::ostream* os) {
    *os << lost.name;
}

class LostLinkTest : public RecordingTest, public ::testing::WithParamInterface<LostLink> {};

TEST_P(LostLinkTest, ALostLinkEndsTheProgramAfterOfferingTheUnsavedReadings) {
    const LostLink& c = GetParam();
    bool pulled = false;
    collect([&] {
        if (history().SampleIndex != c.samples || pulled) return;
        pulled = true;
        if (c.savedFirst) record().cmdStartRec->click();
        rig.dialogs.shown.clear();
        rig.dialogs.answer(AnswerOk);
        rig.dialogs.answer(c.answer);
        rig.bus.unplug(rig.board());
    });
    EXPECT_TRUE(rig.exit.requested());
    std::vector<QString> expected{
        "Error, USB Communications has been lost, shutting down. Check Eval board connection and re-start "
        "the "
        "app."};
    if (c.asked)
        expected.push_back(QString("Write the 14 readings of this run to %1 before closing?").arg(path));
    EXPECT_EQ(boxTexts(), expected);
    if (c.asked) {
        EXPECT_EQ(rig.dialogs.shown.back().buttons, DialogButtons::YesNo);
    }
    const bool keeps = c.savedFirst || c.answer == AnswerYes;
    EXPECT_EQ(QFile::exists(path), keeps && c.samples >= 20);
    if (keeps && c.samples >= 20) {
        EXPECT_TRUE(written().startsWith("Seq,AD Decimal,Integration,Reg0:&h80"));
        EXPECT_TRUE(written().endsWith(" 13, 6554, 1\r\nEND\r\n"));
        EXPECT_EQ(written().count("END"), 1) << "written once";
    }
}

INSTANTIATE_TEST_SUITE_P(Offers, LostLinkTest,
                         ::testing::Values(LostLink{"Yes", 25, false, AnswerYes, true},
                                           LostLink{"No", 25, false, AnswerNo, true},
                                           LostLink{"TooFew", 19, false, AnswerYes, false},
                                           LostLink{"AlreadySaved", 25, true, AnswerYes, false}),
                         [](const ::testing::TestParamInfo<LostLink>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RecordingTest, ExitDuringARunEndsTheProgramWithoutAnotherSample) {
    std::size_t reads = 0;
    collect([&] {
        if (history().SampleIndex == 5 && !rig.exit.requested()) {
            reads = adcReadTimes(0).size();
            frame().Command4->click();
        }
    });
    EXPECT_TRUE(rig.exit.requested());
    EXPECT_EQ(adcReadTimes(0).size(), reads);
    EXPECT_FALSE(wing().running());
    EXPECT_TRUE(panel().StopRequested && !panel().Collecting);
}

TEST_F(RecordingTest, ScreenshotOfThePanelCollectingTheDemoLight) {
    chip().setLight(sim::LightSource::wave(220, 120, 20000, 3, 2019));  // the demo board's light
    rig.bus.setTiming(sim::Timing::Realistic);
    // The README shows this picture: an everyday record file name, not this test's temporary folder.
    record().txtFilePath->setText("/home/user/Documents/Data.txt");
    panel().resize(panel().fullSize());
    QImage shot;
    collectSamples(320, [&] {
        if (!shot.isNull() || history().SampleIndex < 320) return;
        shot = panel().grab().toImage();  // while the run goes on
    });
    const QString path = screenshotPath("panel_collecting.png");
    ASSERT_TRUE(shot.save(path)) << path.toStdString();
}

}  // namespace
