// Readings in lux beside the count, and "Log every reading": every reading of a run in a CSV file of
// its own, whatever the run's length. Files go to a temporary folder.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "tests/sensor/panel_fixture.h"
#include "tests/support/user_input.h"

namespace {

class ReadingsTest : public PanelTest {
protected:
    ReadingsTest() { record().txtFilePath->setText(folder.filePath("Data.txt")); }

    frmDataRecord& record() { return *wing().record; }
    QString illuminance() { return frame().txtIlluminance->text(); }
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
};

// The count's illuminance under each range and resolution as the panel set them, at 310 lux (100 of
// them infrared): count x range / 2^bits, one decimal. D2 alone sees no visible light.
TEST_F(ReadingsTest, TheIlluminanceFollowsTheRangeResolutionAndModeOfEachRead) {
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
TEST_F(ReadingsTest, ARunLogsEveryReadingBesideTheRecordFile) {
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

// Lowers the largest file this process may write, the way a full disk stops a write part way.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        oldHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &old_);
        rlimit limited = old_;
        limited.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        ::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit old_{};
    sighandler_t oldHandler_;
};

// A failing log stops and says why; the run goes on and the rows written stay. A path box naming no
// usable folder says so once, and the run goes on without a log.
TEST_F(ReadingsTest, ALogThatCannotBeWrittenNeverStopsTheRun) {
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

}  // namespace
