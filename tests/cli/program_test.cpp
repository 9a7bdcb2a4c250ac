// The installed program as a shell runs it: its main() on the simulated board (--demo, real time), on
// the machine's own HID devices, and Ctrl-C.
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>

#include "boardlink/board_link.h"

namespace {

struct Program : ::testing::Test {
    QTemporaryDir cache;  // where --demo keeps its registers between runs

    void start(QProcess& process, const QStringList& arguments) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CACHE_HOME", cache.path());
        process.setProcessEnvironment(environment);
        process.start(TOLVANE_CLI, arguments);
        ASSERT_TRUE(process.waitForStarted());
    }
    // Exit status, standard output, standard error.
    std::tuple<int, QString, QString> run(const QStringList& arguments) {
        QProcess process;
        start(process, arguments);
        process.waitForFinished(10000);
        return {process.exitCode(), process.readAllStandardOutput(), process.readAllStandardError()};
    }
};

TEST_F(Program, TheDemoBoardKeepsItsRegistersAndGoesOnMeasuringBetweenRuns) {
    EXPECT_EQ(run({"--demo", "set", "--power", "on", "--range", "4k"}),
              std::make_tuple(0, QString("R0 80\nR1 04\nR2 FF\nR3 00\n"), QString()));
    EXPECT_EQ(run({"--demo", "read", "R0", "2"}), std::make_tuple(0, QString("R0 80\nR1 04\n"), QString()));

    // A board left a second ago, on, at 16 bits and 1k, with no count yet: it has measured since.
    QFile state(cache.filePath("tolvane-cli/demo-board"));
    ASSERT_TRUE(state.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const auto nowMs = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
    state.write("8000FF0000000000 " + QByteArray::number(static_cast<std::uint32_t>(nowMs.count() - 1000)));
    state.close();
    EXPECT_EQ(run({"--demo", "--light", "500", "read", "R4", "2"}),
              std::make_tuple(0, QString("R4 00\nR5 80\n"), QString()))
        << "500 lux on the 1k range is half of full scale";
}

TEST_F(Program, WithoutABoardItSaysSoAndEndsWithStatusTwo) {
    const auto [status, out, err] = run({"read"});
    if (status == 0) GTEST_SKIP() << "an evaluation board is plugged in";
    EXPECT_EQ(status, 2);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_TRUE(err.startsWith("tolvane-cli: Please check USB connection. " + boardNotFoundText("Tolvane")))
        << err.toStdString();
}

TEST_F(Program, CtrlCEndsACollectionAfterTheRowItIsTaking) {
    ASSERT_EQ(std::get<0>(run({"--demo", "set", "--power", "on"})), 0);
    QProcess process;
    start(process, {"--demo", "--light", "500", "collect", "--interval", "10"});
    QByteArray rows;
    // 16 rows: the last ones come after the chip's first 100 ms integration.
    while (rows.count('\n') < 17 && process.waitForReadyRead(5000)) rows += process.readAllStandardOutput();
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(5000));
    rows += process.readAllStandardOutput();

    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_TRUE(rows.endsWith("\r\n")) << "no row cut short";
    const QList<QByteArray> lines = rows.trimmed().split('\n');
    ASSERT_GE(lines.size(), 17);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> columns = lines[i].trimmed().split(',');
        ASSERT_EQ(columns.size(), 8) << lines[i].toStdString();
        EXPECT_EQ(columns[2].toLongLong(), i - 1);
    }
    EXPECT_EQ(lines.last().split(',')[4], "500.000") << "the constant light, on the 1k range";
}

}  // namespace
