// collect as a script runs it: the rows, their schedule on the board's realistic timing, and how a run
// ends, with every row taken kept.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "tests/cli/cli_rig.h"

namespace {

using Lines = std::vector<std::string>;

// A board answering as the hardware does, the chip measuring D1 - D2 at 12 bits on the 16k range under
// 6000 lux of which 2000 infrared: 4000 lux, count 1024.
struct Collecting : ::testing::Test {
    CliRig rig;
    sim::SimBoard& board = rig.bus.addBoard();

    Collecting() {
        rig.bus.setTiming(sim::Timing::Realistic);
        board.chip.setLight(sim::LightSource::constant(6000, 2000));
        board.chip.setReg(0, 0x89);
        board.chip.setReg(1, 0x08);
        rig.clock.advance(10);  // an integration has ended
    }

    // When each reading since the board's report `from` was asked of it, from the first one on.
    std::vector<std::uint32_t> readingTimes(std::size_t from) const {
        std::vector<std::uint32_t> times;
        for (std::size_t i = from; i < board.received.size(); ++i)
            if (transfer(board.received[i].bytes) == "01 06 89 02 01 04")
                times.push_back(board.received[i].timeMs - board.received[from + 1].timeMs);
        return times;
    }
    static std::vector<std::uint32_t> elapsedColumn(const std::string& csv) {
        std::vector<std::uint32_t> elapsed;
        std::istringstream lines(csv);
        std::string line;
        std::getline(lines, line);  // the header
        while (std::getline(lines, line)) elapsed.push_back(std::stoul(line.substr(line.find(',') + 1)));
        return elapsed;
    }
};

TEST_F(Collecting, RowsCarryTheChipsSettingsAndKeepToTheScheduleWhateverTheBoardTakes) {
    ASSERT_EQ(rig.run({"collect", "--interval", "100", "--count", "2"}), 0);
    EXPECT_EQ(rig.out.str(),
              "time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode\r\n"
              "2026-12-07T09:30:05.000,0,0,1024,4000.000,16000,12,D1-D2\r\n"
              "2026-12-07T09:30:05.000,100,1,1024,4000.000,16000,12,D1-D2\r\n");
    EXPECT_EQ(transfers(board), (Lines{"01 06 89 02 01 00", "01 06 89 02 01 04", "01 06 89 02 01 04"}));
    EXPECT_EQ(rig.err.str(), "");

    const struct {
        QStringList arguments;
        std::vector<std::uint32_t> elapsed;
    } schedules[] = {
        {{"--interval", "100", "--duration", "0.5"}, {0, 100, 200, 300, 400}},
        // Each reading takes the board 2 ms: at interval 0 they follow as fast as it answers, and a
        // reading already due when the last one ends goes at once.
        {{"--interval", "0", "--duration", "0.01"}, {0, 2, 4, 6, 8}},
        {{"--interval", "3", "--count", "4"}, {0, 3, 6, 9}},
        {{"--interval", "1", "--duration", "0.008"}, {0, 2, 4, 6}},
    };
    for (const auto& s : schedules) {
        SCOPED_TRACE(s.arguments.join(' ').toStdString());
        const std::size_t from = board.received.size();
        ASSERT_EQ(rig.run(QStringList{"collect"} + s.arguments), 0);
        EXPECT_EQ(elapsedColumn(rig.out.str()), s.elapsed);
        EXPECT_EQ(readingTimes(from), s.elapsed) << "as the board saw them";
    }
}

TEST(CollectEnds, EveryRowTakenStaysInTheFileWhenCtrlCOrALostBoardEndsTheRun) {
    const struct {
        const char* what;
        std::function<void(CliRig&, sim::SimBoard&)> afterTwoRows;
        int status;
        std::string err;
    } endings[] = {
        {"Ctrl-C", {}, 0, ""},
        {"board unplugged", [](CliRig& r, sim::SimBoard& b) { r.bus.unplug(b); }, 4,
         "tolvane-cli: Please check USB connection. The board took no request: it was unplugged or has "
         "stopped.\n"},
        {"board stops answering", [](CliRig&, sim::SimBoard& b) { b.dropAnswers(1); }, 4,
         "tolvane-cli: Please check USB connection. The board did not answer within 6000 ms.\n"},
    };
    for (const auto& ending : endings) {
        SCOPED_TRACE(ending.what);
        CliRig rig;
        sim::SimBoard& board = rig.bus.addBoard();
        const QTemporaryDir folder;
        const QString path = folder.filePath("rows.csv");
        bool ended = false;
        rig.stop = [&] {
            const bool twoTaken = board.received.size() == 3;  // R0 and R1, then two readings
            if (twoTaken && !ended && ending.afterTwoRows) ending.afterTwoRows(rig, board);
            ended = ended || twoTaken;
            return ended && !ending.afterTwoRows;
        };
        EXPECT_EQ(rig.run({"collect", "--interval", "10", "--output", path}), ending.status);
        EXPECT_EQ(rig.err.str(), ending.err);
        EXPECT_EQ(rig.out.str(), "");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().count("\r\n"), 3) << "the header and both rows";
    }
}

TEST_F(Collecting, ATerminalSeesTheProgressOnceASecond) {
    rig.terminal = true;
    ASSERT_EQ(rig.run({"collect", "--count", "25"}), 0);
    EXPECT_EQ(rig.err.str(), "\r11 readings, 10.0 per second\r21 readings, 10.0 per second\n");
    EXPECT_EQ(QByteArray::fromStdString(rig.out.str()).count("\r\n"), 26) << "the header and 25 rows";
}

}  // namespace
