// The history view as a user meets it: logs written into a temporary folder, opened, zoomed and
// panned with the wheel and the mouse, exported, and a log found on the disk as the panel writes it.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <functional>
#include <optional>

#include "readinglog/reading_log_file.h"
#include "readinglog/reading_row.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/scripted_dialogs.h"
#include "tests/support/accessibility.h"
#include "tests/support/user_input.h"
#include "view/history_window.h"
#include "view/reading_text.h"

// Texts in failures as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

const QByteArray kHeader = "time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode\r\n";

// A row taken `ms` after 09:30:00 on 7 December 2026.
QByteArray row(int ms, int seq, int count, const char* lux, const char* rest = "1000,16,D1") {
    return QString("2026-12-07T%1,%2,%3,%4,%5,%6\r\n")
        .arg(QTime(9, 30).addMSecs(ms).toString("HH:mm:ss.zzz"))
        .arg(ms)
        .arg(seq)
        .arg(count)
        .arg(lux, rest)
        .toUtf8();
}

// `n` readings every 100 ms from 0 on, reading i counting i (modulo 65536), at `lux(i)`, by default
// i / 10 lux.
QByteArray steadyRun(
    int n, const std::function<double(int)>& lux = [](int i) { return i / 10.0; }) {
    QByteArray rows = kHeader;
    for (int i = 0; i < n; ++i) rows += row(100 * i, i, i % 65536, QByteArray::number(lux(i), 'f', 3));
    return rows;
}

class ViewTest : public ::testing::Test {
protected:
    ViewTest() {
        window.resize(1000, 640);
        window.show();
        window.activateWindow();
        QCoreApplication::processEvents();
    }

    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return file.fileName();
    }
    void open(const QStringList& paths) {
        window.open(paths);
        window.finishLoading();
    }
    HistoryPlot& plot() { return *window.plot; }
    std::pair<double, double> span() { return {plot().spanFromMs(), plot().spanToMs()}; }
    // Where a time in ms shows on the plot, at a value or halfway up.
    QPoint at(double ms, std::optional<double> value = {}) {
        return {
            static_cast<int>(plot().xAxis->coordToPixel(ms / 1000)),
            value ? static_cast<int>(plot().yAxis->coordToPixel(*value)) : plot().axisRect()->center().y()};
    }
    // The readings the statistics count for the first run.
    std::string countedReadings() {
        return window.lblStatistics->text().section(": ", 1).section(" readings", 0, 0).toStdString();
    }

    QTemporaryDir folder;
    FakeClock clock;
    ScriptedDialogs dialogs;
    HistoryWindow window{dialogs, clock};
};

// Ten readings with a gap of three intervals, and a run in D2 alone (counts, no lux) overlaid.
TEST_F(ViewTest, StatisticsDescribeEachRunOnScreen) {
    QByteArray known = kHeader;
    const int times[] = {0, 100, 200, 300, 400, 700, 800, 900, 1000, 1100};
    for (int i = 0; i < 10; ++i) known += row(times[i], i, 6554 + i, QByteArray::number(100 + i) + ".000");
    const QByteArray counts = kHeader + row(0, 0, 5, "", "1000,16,D2") + row(10, 1, 7, "", "1000,16,D2") +
                              row(20, 2, 6, "", "1000,16,D2");
    open({write("known.csv", known), write("counts.csv", counts)});

    EXPECT_EQ(
        window.lblStatistics->text(),
        "known.csv: 10 readings · lux min 100.000, mean 104.500, max 109.000, sd 3.028 · interval mean "
        "122.2 ms, largest gap 300 ms · missed 2 (at the usual 100 ms)\n"
        "counts.csv: 3 readings · count min 5, mean 6.0, max 7, sd 1.0 · interval mean 10.0 ms, largest "
        "gap 10 ms · missed 0 (at the usual 10 ms)");
    ASSERT_EQ(plot().legend->itemCount(), 2);
    EXPECT_EQ(plot().graph(0)->name(), "known.csv");
    EXPECT_EQ(plot().graph(1)->name(), "counts.csv");
    EXPECT_NE(plot().graph(0)->pen().color(), plot().graph(1)->pen().color());
    EXPECT_EQ(plot().yAxis->label(), "Illuminance (lux) or count");
    EXPECT_EQ(window.lblLoad->text(), "counts.csv: 3 readings");
    window.resize(700, 640);
    QCoreApplication::processEvents();
    EXPECT_EQ(window.width(), 700) << "lines longer than the window wrap; they do not widen it";
}

// Runs appended to one file are drawn apart: no line crosses the pause between them.
TEST_F(ViewTest, RunsAppendedToOneFileAreDrawnApart) {
    QByteArray twice = steadyRun(3);
    for (int i = 0; i < 3; ++i)  // 5 s later, the elapsed time from 0 again
        twice += QString("2026-12-07T09:30:05.%1,%2,%3,9,0.900,1000,16,D1\r\n")
                     .arg(100 * i, 3, 10, QChar('0'))
                     .arg(100 * i)
                     .arg(i)
                     .toUtf8();
    open({write("twice.csv", twice)});
    QList<double> breaks;
    for (const QCPGraphData& point : *plot().graph(0)->data())
        if (std::isnan(point.value)) breaks << point.key;
    ASSERT_EQ(breaks.size(), 1);
    EXPECT_GT(breaks[0], 0.2);
    EXPECT_LT(breaks[0], 5.0);
}

// A log of several boards as tolvane-cli collect writes it: a line for each board, named after it, a
// name with a comma and a quote read back whole, and a row that is not a reading left out.
TEST_F(ViewTest, ALogOfSeveralBoardsShowsALineForEachBoard) {
    const QByteArray odd = boardCsvField("bench \"B\", left") + ",";
    open({write("boards.csv", boardReadingCsvHeader() + "SN-A," + row(0, 0, 10, "1.000") + odd +
                                  row(0, 0, 20, "2.000") + "SN-A," + row(100, 1, 12, "1.200") + odd +
                                  "not a reading\r\n" + odd + row(100, 1, 22, "2.200"))});

    ASSERT_EQ(plot().runs().size(), 2u);
    EXPECT_EQ(plot().runs()[0].name, "boards.csv [SN-A]");
    EXPECT_EQ(plot().runs()[1].name, "boards.csv [bench \"B\", left]");
    EXPECT_EQ(window.lblStatistics->text().section(" · ", 0, 1),
              "boards.csv [SN-A]: 2 readings · lux min 1.000, mean 1.100, max 1.200, sd 0.141");
    EXPECT_EQ(window.lblLoad->text(),
              "boards.csv: 4 readings; lines that are not readings left out: 1 (the first is line 5)");
}

TEST_F(ViewTest, TheWheelZoomsAroundThePointerDraggingPansAndADoubleClickShowsTheWholeRun) {
    open({write("run.csv", steadyRun(1001))});
    EXPECT_EQ(span(), std::make_pair(0.0, 100'000.0));
    EXPECT_EQ(countedReadings(), "1001");

    // The time under the pointer stays put; each notch takes 85 % of the span.
    const QPoint pointer = at(25'000, 10);
    const double pointed = plot().xAxis->pixelToCoord(pointer.x()) * 1000;
    wheel(&plot(), pointer, 2);
    const auto [from, to] = span();
    EXPECT_NEAR(to - from, 100'000 * 0.85 * 0.85, 1);
    EXPECT_NEAR(plot().xAxis->pixelToCoord(pointer.x()) * 1000, pointed, 1);
    // Readings a..b are on screen, reading i at i / 10 lux.
    const int a = static_cast<int>(std::ceil(from / 100)), b = static_cast<int>(std::floor(to / 100));
    const double n = b - a + 1;
    EXPECT_EQ(window.lblStatistics->text(),
              QString("run.csv: %1 readings · lux min %2, mean %3, max %4, sd %5 · interval mean 100.0 ms, "
                      "largest gap 100 ms · missed 0 (at the usual 100 ms)")
                  .arg(n)
                  .arg(a / 10.0, 0, 'f', 3)
                  .arg((a + b) / 20.0, 0, 'f', 3)
                  .arg(b / 10.0, 0, 'f', 3)
                  .arg(std::sqrt(n * (n + 1) / 12) / 10, 0, 'f', 3));

    const double msPerPixel = (to - from) / plot().axisRect()->width();
    drag(&plot(), pointer, pointer - QPoint(200, 0));
    EXPECT_NEAR(span().first, from + 200 * msPerPixel, 1);
    EXPECT_NEAR(span().second, to + 200 * msPerPixel, 1);
    EXPECT_FALSE(plot().following());

    movePointer(&plot(), at(42'000, 42));
    EXPECT_EQ(window.lblReadout->text(),
              "run.csv · 2026-12-07 09:30:42.000 (0:00:42.000 in) · 42.000 lux · count 420 · seq 420");

    doubleClick(&plot(), pointer);
    EXPECT_EQ(span(), std::make_pair(0.0, 100'000.0));
    EXPECT_EQ(countedReadings(), "1001");
    EXPECT_TRUE(plot().following());
}

// A view that starts to follow during a run finds the rows so far on the disk, and the rows taken while
// they load come after them; one that starts after the run finds the whole log. (Following a run as it
// goes is the panel's "History...", tested there.)
TEST_F(ViewTest, AViewLateToARunFindsItsRowsOnTheDiskFirst) {
    ReadingLogFile log;
    const QDateTime start(QDate(2026, 12, 7), QTime(9, 30));
    ASSERT_TRUE(log.open(folder.path(), "Data", start));
    const auto take = [&](int from, int to) {
        for (int seq = from; seq < to; ++seq)
            log.add({start.addMSecs(100 * seq), 100 * seq, seq, 1000 + seq, 0x80, 0x00});
    };
    take(0, 100);
    log.setFollower(&window);
    take(100, 105);
    window.finishLoading();
    log.close();
    EXPECT_EQ(countedReadings(), "105");

    HistoryWindow after{dialogs, clock};
    log.setFollower(&after);
    after.finishLoading();
    EXPECT_EQ(after.lblStatistics->text().section(" readings", 0, 0), "Data-20261207-093000.csv: 105");
}

// Every file gets a clear answer and none a crash or a hang; the whole rows of a file are shown.
TEST_F(ViewTest, BadFilesAreSaidWhatTheyAreAndTheirWholeRowsShown) {
    QDir(folder.path()).mkdir("folder.csv");
    const QString locked = write("locked.csv", steadyRun(3));
    QFile::setPermissions(locked, QFileDevice::WriteOwner);
    const QString missing = folder.filePath("missing.csv");
    const QString pipe = folder.filePath("pipe.csv");
    mkfifo(QFile::encodeName(pipe).constData(), 0600);
    const QString header = "time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode";
    QFile growing(folder.filePath("growing.csv"));  // its writer holds it open in the middle of a row
    growing.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    growing.write(steadyRun(2) + row(200, 2, 19, "0.200").left(40));
    const struct {
        const char* what;
        QString path;
        QString box;   // the message box, if any
        QString load;  // the status line after the load
    } cases[] = {
        {"other columns", write("other.csv", "a,b,c\r\n1,2,3\r\n"),
         "other.csv is not a log of readings: its first line is not \"" + header + "\".", ""},
        {"a torn last row, cut where it still reads as a row (\"D1\" of \"D1-D2\")",
         write("torn.csv", steadyRun(3) + row(300, 3, 19, "0.300", "1000,16,D1-D2").chopped(5)), "",
         "torn.csv: 3 readings; the last row, not yet whole, left out"},
        {"a file still growing: what is there now", growing.fileName(), "",
         "growing.csv: 2 readings; the last row, not yet whole, left out"},
        {"lines that are not readings: a remark, a lux below nothing",
         write("odd.csv",
               steadyRun(2) + "# a remark\r\n" + row(300, 3, 19, "-0.5") + row(400, 4, 19, "0.400")),
         "", "odd.csv: 3 readings; lines that are not readings left out: 2 (the first is line 4)"},
        {"a row whose elapsed time is far beyond the others'",
         write("far.csv", steadyRun(2) + "2026-12-07T09:30:00.200,9999999999,2,19,0.200,1000,16,D1\r\n" +
                              row(300, 3, 19, "0.300")),
         "", "far.csv: 3 readings; readings more than 49 days after the first left out"},
        {"a spreadsheet's byte order mark, and a name that reads like a placeholder",
         write("run%1.csv", "\xEF\xBB\xBF" + steadyRun(2)), "", "run%1.csv: 2 readings"},
        {"no rows", write("header.csv", kHeader), "header.csv holds no readings.", ""},
        {"an empty file", write("empty.csv", ""), "empty.csv is empty: it holds no readings.", ""},
        {"a folder", folder.filePath("folder.csv"),
         folder.filePath("folder.csv") + " is a folder, not a log of readings.", ""},
        {"no file", missing, "Cannot read " + missing + ": No such file or directory.", ""},
        {"a pipe, which no one writes", pipe,
         pipe + " is not a file but a pipe or a device, not a log of readings.", ""},
        {"no read permission", locked, "Cannot read " + locked + ": Permission denied.", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.path == locked && geteuid() == 0) {
            std::puts("[  NOTE    ] no read permission: running as root, which reads any file; not tried");
            continue;
        }
        const std::size_t boxes = dialogs.shown.size();
        const int runs = plot().graphCount();
        open({c.path});
        if (c.box.isEmpty()) {
            EXPECT_EQ(dialogs.shown.size(), boxes);
            EXPECT_EQ(window.lblLoad->text(), c.load);
            EXPECT_EQ(plot().graphCount(), runs + 1);
        } else {
            ASSERT_EQ(dialogs.shown.size(), boxes + 1);
            EXPECT_EQ(dialogs.shown.back().text, c.box);
            EXPECT_EQ(dialogs.shown.back().title, "Tolvane Log Viewer");
            EXPECT_EQ(plot().graphCount(), runs);
        }
    }
}

// A file of several blocks shows how far its load is; Cancel stops a load (here of a gigabyte, which
// takes far longer than the click), and nothing of it is shown.
TEST_F(ViewTest, ALargeFileShowsItsProgressAndCancelStopsIt) {
    // Lux all over the place, the extremes inside blocks: 0 first at reading 10006, 1000.6 at 1039.
    const QString large =
        write("large.csv", steadyRun(150'000, [](int i) { return (i + 1) * 7919 % 10007 / 10.0; }));
    QSignalSpy progress(window.loadProgress, &QProgressBar::valueChanged);
    window.open({large});
    EXPECT_TRUE(window.loadProgress->isVisible());
    EXPECT_EQ(window.lblLoad->text(), "Loading large.csv...");
    EXPECT_EQ(accessibilityFaults(window), std::vector<std::string>{}) << "a screen reader meets it whole";
    window.finishLoading();
    EXPECT_GE(progress.size(), 3) << "0, some way, 100";
    EXPECT_EQ(progress.last().at(0).toInt(), 100);
    EXPECT_FALSE(window.loadProgress->isVisible());
    EXPECT_EQ(window.lblLoad->text(), "large.csv: 150000 readings");
    // Each pixel column draws its lowest and highest reading: the whole run's extremes are drawn.
    bool found = false;
    const QCPRange drawn = plot().graph(0)->getValueRange(found);
    EXPECT_LE(plot().graph(0)->dataCount(), 2 * plot().width() + 2);
    EXPECT_EQ(std::make_pair(drawn.lower, drawn.upper), std::make_pair(0.0, 1000.6));
    EXPECT_TRUE(window.lblStatistics->text().contains("lux min 0.000, ")) << "found inside a block";
    EXPECT_TRUE(window.lblStatistics->text().contains(", max 1000.600, "));

    QFile gigabyte(write("gigabyte.csv", steadyRun(10)));
    ASSERT_TRUE(gigabyte.resize(qint64{1} << 30));  // the rest a hole of zeros, which takes no disk
    window.open({gigabyte.fileName()});
    click(window.cmdCancelLoad);
    window.finishLoading();
    EXPECT_EQ(window.lblLoad->text(), "Loading cancelled.");
    EXPECT_FALSE(window.cmdCancelLoad->isVisible());
    EXPECT_EQ(plot().graphCount(), 1);
}

// A log written again while it is read (another `collect --output` to the same file) keeps the rows read
// before it got shorter, and says so.
TEST_F(ViewTest, ALogCutShortWhileItIsReadKeepsTheRowsRead) {
    struct Cutter final : ReadingCsvConsumer {
        QString path;
        qint64 rows = 0;
        bool take(std::span<const LoggedReading> batch) override {
            rows += static_cast<qint64>(batch.size());
            return true;
        }
        bool progressed(qint64, qint64) override { return QFile::resize(path, 1000); }
    } cutter;
    cutter.path = write("again.csv", steadyRun(100'000));  // blocks of 4 MB: the first is read whole
    const ReadingCsvRead read = readReadingCsv(cutter.path, cutter);
    ASSERT_EQ(read.status, ReadingCsvRead::Status::Done) << read.error.toStdString();
    EXPECT_GT(read.rows, 60'000);
    EXPECT_EQ(cutter.rows, read.rows);
    EXPECT_EQ(loadText("again.csv", read, read.rows, false),
              QString("again.csv: %1 readings; the last row, not yet whole, left out; the file got shorter "
                      "while it was read")
                  .arg(read.rows));
}

// The span on screen goes out as the log's own rows; the picture as PNG or PDF.
TEST_F(ViewTest, ExportWritesTheSpanOnScreenAndThePicture) {
    const QByteArray run = steadyRun(101);
    open({write("run.csv", run)});
    wheel(&plot(), at(5000, 5), 3);
    const auto [from, to] = span();
    const QList<QByteArray> rows = run.split('\n');
    QByteArray expected = kHeader;
    for (int i = static_cast<int>(std::ceil(from / 100)); i <= static_cast<int>(to / 100); ++i)
        expected += rows[i + 1] + '\n';

    const QString csv = folder.filePath("span.csv");
    dialogs.chooseFileAnswer(csv);
    press({Qt::CTRL | Qt::Key_E});
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), expected);

    for (const char* name : {"plot", "plot.pdf"}) dialogs.chooseFileAnswer(folder.filePath(name));
    press({Qt::CTRL | Qt::SHIFT | Qt::Key_E});
    press({Qt::CTRL | Qt::SHIFT | Qt::Key_E});
    EXPECT_EQ(QImage(folder.filePath("plot.png")).size(), plot().size());
    QFile pdf(folder.filePath("plot.pdf"));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    EXPECT_TRUE(dialogs.shown.empty());
}

}  // namespace
