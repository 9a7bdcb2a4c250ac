// tolvane-cli as a script runs it, on a simulated bus and a fake clock: what each command prints, its exit
// status and the transfers the board receives, which are the console's own; collect's rows, their
// schedule on the board's realistic timing, and how a run ends with every row taken kept.
// Last, the installed program as a shell runs it: its main() on --demo, on the machine's HID devices, and
// Ctrl-C.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <sstream>

#include "boardlink/board_link.h"
#include "cli/cli.h"
#include "sim/sim_bus.h"
#include "tests/doubles/fake_clock.h"
#include "tests/doubles/fake_due_time_wait.h"
#include "tests/doubles/fixed_calendar.h"
#include "tests/doubles/forwarding_transport.h"

namespace {

struct CliRig {
    FakeClock clock;
    FakeDueTimeWait wait{clock};
    FixedCalendar calendar;
    sim::SimBus bus{clock};
    HidTransport* transport = &bus;
    std::unique_ptr<HidTransport> wire;  // one that stands between the tool and the bus, if any
    std::ostringstream out;
    std::ostringstream err;
    bool terminal = false;
    // Asked before each reading and during waits, as Ctrl-C's flag is.
    std::function<bool()> stop = [] { return false; };
    std::optional<BoardOptions> asked;  // what the tool asked its boards of

    int run(const QString& arguments) {
        out.str("");
        err.str("");
        CliSystem system{[this](const BoardOptions& options) -> HidTransport* {
                             asked = options;
                             return transport;
                         },
                         clock,
                         wait,
                         calendar,
                         out,
                         err,
                         terminal,
                         [this] { return stop(); }};
        return runCli(arguments.split(' '), system);
    }
};

// The I2C transfers the board received, each up to its last payload byte: "01 06 89 02 01 04, ...".
std::string transfers(const sim::SimBoard& board) {
    std::string text;
    for (std::size_t n = 0; n < board.received.size(); ++n) {
        const Report& r = board.received[n].bytes;
        const std::size_t length = 5 + r[4] + ((r[2] & 1) != 0 ? 0 : r[3]);
        for (std::size_t i = 0; i < length && i < r.size(); ++i) {
            char byte[8];
            std::snprintf(byte, sizeof byte, i > 0 ? " %02x" : text.empty() ? "%02x" : ", %02x", r[i]);
            text += byte;
        }
    }
    return text;
}

// The chip as a board that has been in use holds it: ADC on, 16 bits, D1; R1 with range 4k and its
// interrupt flag up.
TEST(Commands, EachPrintsWhatTheChipHoldsAndSendsTheConsolesTransfers) {
    const struct {
        QString arguments;
        std::string out, sent;
        int board = 0;  // the one that receives the transfers
        QString err = {};
    } cases[] = {
        {"read", "R0 80\nR1 24\nR2 FF\nR3 00\nR4 00\nR5 00\nR6 00\nR7 00\n", "01 06 89 08 01 00"},
        {"read R2 2", "R2 FF\nR3 00\n", "01 06 89 02 01 02"},
        {"read 5", "R5 00\n", "01 06 89 01 01 05"},
        {"read --json 0 2", "{\"R0\":\"80\",\"R1\":\"24\"}\n", "01 06 89 02 01 00"},
        {"write R3 0x20", "R3 20\n", "01 06 88 01 01 03 20, 01 06 89 01 01 03"},
        // The interrupt flag is the chip's: a read-back that differs only there holds what was written.
        {"write --json 1 c", "{\"R1\":\"2C\"}\n", "01 06 88 01 01 01 0c, 01 06 89 01 01 01"},
        {"set --mode d1-d2 --resolution 12 --power off --range 64k --persistence 8 --high 4096 --low 512",
         "R0 49\nR1 2E\nR2 10\nR3 02\n",
         "01 06 89 04 01 00, 01 06 88 01 01 00 49, 01 06 88 01 01 01 2e, 01 06 88 01 01 02 10, "
         "01 06 88 01 01 03 02, 01 06 89 04 01 00"},
        {"set --range 16k --json", "{\"R0\":\"80\",\"R1\":\"28\",\"R2\":\"FF\",\"R3\":\"00\"}\n",
         "01 06 89 04 01 00, 01 06 88 01 01 01 28, 01 06 89 04 01 00"},
        {"clear-interrupt", "", "01 06 89 01 01 00, 01 06 88 01 01 40 80"},
        {"boards", "0 sim:0 ok\n1 sim:1 no permission\n2 sim:2 ok SN-2\n", "", 0, noPermissionText()},
        {"boards --json",
         "{\"boards\":[{\"access\":\"ok\",\"index\":0,\"path\":\"sim:0\"},{\"access\":\"no permission\","
         "\"index\":1,\"path\":\"sim:1\"},{\"access\":\"ok\",\"index\":2,\"path\":\"sim:2\",\"serial\":\"SN-"
         "2\"}]}\n",
         "", 0, noPermissionText()},
        {"--board 2 read 0", "R0 80\n", "01 06 89 01 01 00", 2},
        {"--board sim:2 read 0", "R0 80\n", "01 06 89 01 01 00", 2},
        {"--board SN-2 read 0", "R0 80\n", "01 06 89 01 01 00", 2},
        {"--demo --light 300 read 0", "R0 80\n", "01 06 89 01 01 00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.toStdString());
        CliRig rig;
        sim::SimBoard* boards[] = {&rig.bus.addBoard(),
                                   (rig.bus.addUnopenableDevice(), &rig.bus.addBoard("SN-2"))};
        for (sim::SimBoard* board : boards)
            for (const auto& [reg, value] : {std::pair{0, 0x80}, {1, 0x24}, {2, 0xFF}, {3, 0x00}})
                board->chip.setReg(reg, static_cast<std::uint8_t>(value));
        EXPECT_EQ(rig.run(c.arguments), 0);
        EXPECT_EQ(rig.out.str(), c.out);
        EXPECT_EQ(QString::fromStdString(rig.err.str()),
                  c.err.isEmpty() ? "" : "tolvane-cli: " + c.err + "\n");
        EXPECT_EQ(transfers(*boards[c.board / 2]), c.sent);
        EXPECT_TRUE(boards[1 - c.board / 2]->received.empty());
        ASSERT_TRUE(rig.asked);
        EXPECT_EQ(rig.asked->demo, c.arguments.contains("--demo"));
        if (c.arguments.contains("--light")) {
            EXPECT_EQ(rig.asked->lightLux, 300.0);
        }
    }
}

// Every way a run can fail, with its status and its line on standard error; a usage error adds the
// command's usage line. Only a board that stopped answering takes time: the 6 s it was given.
TEST(Commands, EachFailureHasItsExitStatusAndOneLineSayingWhy) {
    using SetUp = std::function<void(CliRig&)>;
    const SetUp board = [](CliRig& r) { r.bus.addBoard(); };
    const SetUp foreign = [](CliRig& r) { r.bus.addForeignDevice(0x046D, 0xC077); };
    const SetUp locked = [](CliRig& r) { r.bus.addUnopenableDevice(); };
    const SetUp boardThenLocked = [](CliRig& r) { r.bus.addBoard(), r.bus.addUnopenableDevice(); };
    const SetUp deaf = [](CliRig& r) { r.bus.addBoard().chip.acknowledges = false; };
    const SetUp mute = [](CliRig& r) { r.bus.addBoard().dropAnswers(1); };
    const SetUp fullDisk = [](CliRig& r) { r.bus.addBoard(), r.out.setstate(std::ios::badbit); };
    const SetUp forgetful = [](CliRig& r) {
        r.bus.addBoard();
        r.wire = std::make_unique<ForgetfulChip>(r.bus);
        r.transport = r.wire.get();
    };
    const QString read = "read [options] [FIRST [COUNT]]", set = "set [options]",
                  any = "[options] COMMAND ...";
    const QString notFound =
        "Please check USB connection. Halvora HID USB Device: VID 7C4B, PID 2019  Tolvane Evaluation Board "
        "not found.";
    const QTemporaryDir folder;
    const QString pipe = folder.filePath("unread.csv");  // a named pipe that nothing reads
    ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const struct {
        SetUp setUp;
        QString arguments;
        int status;
        QString err;
        QString usage = {};  // the command's usage line follows a usage error
    } cases[] = {
        {{}, "frobnicate", 1, "Unknown command 'frobnicate'.", any},
        {{}, "read --bogus", 1, "Unknown option 'bogus'.", read},
        {{}, "read R8", 1, "Invalid value 'R8' for FIRST: a register from R0 to R7.", read},
        {{}, "read R6 3", 1, "Invalid value '3' for COUNT: 1 to 2 from R6.", read},
        {{},
         "write R4 00",
         1,
         "Invalid value 'R4' for REG: a register from R0 to R3.",
         "write [options] REG VALUE"},
        {{}, "set --range 2k", 1, "Invalid value '2k' for --range: one of 1k, 4k, 16k, 64k.", set},
        {{}, "set --high 100", 1, "Invalid value '100' for --high: 256 to 65280.", set},
        {{},
         "collect --duration 0.0004",
         1,
         "Invalid value '0.0004' for --duration: seconds from 0.001 to 1000000000.",
         "collect [options]"},
        {{}, "set", 1, "Name at least one field to set.", set},
        {{},
         "collect --count 3 --duration 1",
         1,
         "--count and --duration cannot be given together.",
         "collect [options]"},
        {{}, "--light 500 read", 1, "--light needs --demo.", any},
        {fullDisk, "read", 1, "Cannot write to standard output."},
        {board, "collect --output /nonexistent/readings.csv", 1,
         "Cannot write /nonexistent/readings.csv: No such file or directory."},
        {board, "collect --output " + pipe, 1,
         "Cannot write " + pipe + ": No program reads this named pipe."},
        {foreign, "read", 2, notFound},
        {locked, "read", 2, notFound + " " + noPermissionText()},
        {board, "--board 1 read", 2, "No board 1; `tolvane-cli boards` lists the boards there are."},
        {boardThenLocked, "--board sim:1 write R0 80", 2, noPermissionText()},
        {deaf, "read", 3, "The chip did not acknowledge (I2C address 88)."},
        {forgetful, "write R0 80", 3, "R0 reads back 81, not 80 as written."},
        {mute, "read", 4, "Please check USB connection. The board did not answer within 6000 ms."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.toStdString());
        CliRig rig;
        if (c.setUp) c.setUp(rig);
        const std::uint32_t start = rig.clock.milliseconds();
        EXPECT_EQ(rig.run(c.arguments), c.status);
        const QString usage = c.usage.isEmpty() ? "" : "\nUsage: tolvane-cli " + c.usage;
        EXPECT_EQ(QString::fromStdString(rig.err.str()), "tolvane-cli: " + c.err + usage + "\n");
        EXPECT_EQ(rig.clock.milliseconds() - start, c.status == 4 ? 6000u : 0u);
    }
}

TEST(Commands, HelpAndVersionGoToStandardOutput) {
    const std::pair<QString, QString> cases[] = {
        {"--version", R"(^tolvane-cli \d+\.\d+\.\d+\n$)"},
        {"--help", R"(^Usage: tolvane-cli \[options\] COMMAND \.\.\.\n.*)"
                   R"(\n  boards .*\n  read .*\n  write .*\n  set .*\n  collect .*\n  clear-interrupt )"},
        {"set --help", R"(^Usage: tolvane-cli set \[options\]\n.*--persistence <n>)"},
    };
    for (const auto& [arguments, pattern] : cases) {
        CliRig rig;
        EXPECT_EQ(rig.run(arguments), 0);
        const QRegularExpression expected(pattern, QRegularExpression::DotMatchesEverythingOption);
        EXPECT_TRUE(expected.match(QString::fromStdString(rig.out.str())).hasMatch()) << rig.out.str();
        EXPECT_EQ(rig.err.str(), "");
    }
}

// Several boards: each command on each board in turn, under its name (its serial number, else its path),
// in the order chosen; a board that fails says so and the others go on.
TEST(SeveralBoards, EachCommandRunsOnEachBoardUnderItsName) {
    const std::string both = "{\"R0\":\"80\",\"board\":\"SN-A\"},{\"R0\":\"80\",\"board\":\"sim:1\"}";
    const QString deaf = "sim:1: The chip did not acknowledge (I2C address 88).";
    const struct {
        QString arguments;
        int status;
        std::string out;
        QString err = {};
        bool deafSecond = false;
    } cases[] = {
        {"--board all read 0", 0, "SN-A:\nR0 80\nsim:1:\nR0 80\n"},
        {"--board 1 --board SN-A write R3 20", 0, "sim:1:\nR3 20\nSN-A:\nR3 20\n"},
        {"--board all read --json 0", 0, "[" + both + "]\n"},
        {"--board all set --range 4k --json", 0,
         "[{\"R0\":\"80\",\"R1\":\"04\",\"R2\":\"FF\",\"R3\":\"00\",\"board\":\"SN-A\"},"
         "{\"R0\":\"80\",\"R1\":\"04\",\"R2\":\"FF\",\"R3\":\"00\",\"board\":\"sim:1\"}]\n"},
        {"--board all clear-interrupt", 0, "SN-A:\nsim:1:\n"},
        {"--board all read 0", 3, "SN-A:\nR0 80\nsim:1:\n", deaf, true},
        {"--board all read --json 0", 3,
         "[{\"R0\":\"80\",\"board\":\"SN-A\"},{\"board\":\"sim:1\",\"error\":\"The chip did not acknowledge "
         "(I2C "
         "address 88).\"}]\n",
         deaf, true},
        {"--board 0 --board sim:0 read", 1, "", "sim:0 chooses SN-A a second time."},
        {"--board all --board 1 read", 1, "", "all names every board: give it alone."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.toStdString());
        CliRig rig;
        sim::SimBoard& first = rig.bus.addBoard("SN-A");
        sim::SimBoard& second = rig.bus.addBoard();
        for (sim::SimBoard* board : {&first, &second}) board->chip.setReg(0, 0x80);
        second.chip.acknowledges = !c.deafSecond;
        EXPECT_EQ(rig.run(c.arguments), c.status);
        EXPECT_EQ(rig.out.str(), c.out);
        EXPECT_EQ(QString::fromStdString(rig.err.str()),
                  c.err.isEmpty() ? "" : "tolvane-cli: " + c.err + "\n");
    }
}

// Unplugs a board when its own thread is about to send it its `nth` request.
class UnplugAt final : public ForwardingTransport {
public:
    UnplugAt(sim::SimBus& bus, sim::SimBoard& board, std::string path, int nth)
        : ForwardingTransport(bus), bus_(bus), board_(board), path_(std::move(path)), nth_(nth) {}
    HidHandle open(const std::string& path) override {
        const HidHandle handle = ForwardingTransport::open(path);
        if (path == path_) mine_.insert(handle);
        return handle;
    }
    bool write(HidHandle handle, const Report& report) override {
        if (mine_.contains(handle) && ++sent_ == nth_) bus_.unplug(board_);
        return ForwardingTransport::write(handle, report);
    }

private:
    sim::SimBus& bus_;
    sim::SimBoard& board_;
    std::string path_;
    int nth_;
    std::set<HidHandle> mine_;  // opened before the run's threads start, read by them
    std::atomic<int> sent_ = 0;
};

// Every board's readings in one CSV, each row led by its board; a board lost keeps the rows it took and
// the others go on to the end.
TEST(SeveralBoards, CollectTakesEachBoardsReadingsIntoOneFile) {
    const struct {
        int boards;
        int lostAfterRows;  // of the second board; 0: none lost
    } cases[] = {{2, 0}, {4, 0}, {3, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.boards);
        CliRig rig;
        std::vector<sim::SimBoard*> boards;
        for (int n = 1; n <= c.boards; ++n) boards.push_back(&rig.bus.addBoard("SN-" + std::to_string(n)));
        if (c.lostAfterRows > 0) {
            // The settings' read first, then a request a reading.
            rig.wire = std::make_unique<UnplugAt>(rig.bus, *boards[1], "sim:1", 2 + c.lostAfterRows);
            rig.transport = rig.wire.get();
        }
        const QTemporaryDir folder;
        const QString path = folder.filePath("rows.csv");
        EXPECT_EQ(rig.run("--board all collect --interval 0 --count 3 --output " + path),
                  c.lostAfterRows ? 4 : 0);
        EXPECT_EQ(rig.err.str(), c.lostAfterRows
                                     ? "tolvane-cli: SN-2: Please check USB connection. The board took no "
                                       "request: it was unplugged or has stopped.\n"
                                     : "");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QList<QByteArray> lines = file.readAll().split('\n');
        EXPECT_EQ(lines.takeFirst(), "board,time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode\r");
        std::map<QByteArray, QList<QByteArray>> seqs;  // a board's seq column, in the order of its rows
        for (const QByteArray& line : lines)
            if (!line.isEmpty()) seqs[line.split(',')[0]].append(line.split(',')[3]);
        ASSERT_EQ(seqs.size(), static_cast<std::size_t>(c.boards));
        const QList<QByteArray> all{"0", "1", "2"};
        for (const auto& [board, seq] : seqs)
            EXPECT_EQ(seq, board == "SN-2" && c.lostAfterRows ? all.first(c.lostAfterRows) : all)
                << board.toStdString();
    }
}

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
};

TEST_F(Collecting, RowsCarryTheChipsSettingsAndKeepToTheScheduleWhateverTheBoardTakes) {
    ASSERT_EQ(rig.run("collect --interval 100 --count 2"), 0);
    EXPECT_EQ(rig.out.str(),
              "time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode\r\n"
              "2026-12-07T09:30:05.000,0,0,1024,4000.000,16000,12,D1-D2\r\n"
              "2026-12-07T09:30:05.000,100,1,1024,4000.000,16000,12,D1-D2\r\n");
    EXPECT_EQ(transfers(board), "01 06 89 02 01 00, 01 06 89 02 01 04, 01 06 89 02 01 04");
    EXPECT_EQ(rig.err.str(), "");
    // The range is R1's own, not R0's mode bits, which sit in the same place there.
    board.chip.setReg(1, 0x0C);
    ASSERT_EQ(rig.run("collect --count 1"), 0);
    EXPECT_NE(rig.out.str().find(",64000,12,D1-D2\r\n"), std::string::npos) << rig.out.str();

    // Each reading takes the board 2 ms: at interval 0 they follow as fast as it answers, and a reading
    // already due when the last one ends goes at once.
    const std::pair<QString, std::vector<std::uint32_t>> schedules[] = {
        {"--interval 100 --duration 0.5", {0, 100, 200, 300, 400}},
        {"--interval 0 --duration 0.01", {0, 2, 4, 6, 8}},
        {"--interval 3 --count 4", {0, 3, 6, 9}},
        {"--interval 1 --duration 0.008", {0, 2, 4, 6}},
    };
    for (const auto& [arguments, elapsed] : schedules) {
        SCOPED_TRACE(arguments.toStdString());
        const std::size_t from = board.received.size() + 1;  // after the read of R0 and R1
        ASSERT_EQ(rig.run("collect " + arguments), 0);
        std::vector<std::uint32_t> column, asked;  // the elapsed column, and as the board saw the readings
        std::istringstream lines(rig.out.str());
        std::string line;
        std::getline(lines, line);  // the header
        while (std::getline(lines, line)) column.push_back(std::stoul(line.substr(line.find(',') + 1)));
        for (std::size_t i = from; i < board.received.size(); ++i)
            asked.push_back(board.received[i].timeMs - board.received[from].timeMs);
        EXPECT_EQ(column, elapsed);
        EXPECT_EQ(asked, elapsed);
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
        EXPECT_EQ(rig.run("collect --interval 10 --output " + path), ending.status);
        EXPECT_EQ(rig.err.str(), ending.err);
        EXPECT_EQ(rig.out.str(), "");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll().count("\r\n"), 3) << "the header and both rows";
    }
}

TEST_F(Collecting, ATerminalSeesTheProgressOnceASecond) {
    rig.terminal = true;
    ASSERT_EQ(rig.run("collect --count 25"), 0);
    EXPECT_EQ(rig.err.str(), "\r11 readings, 10.0 per second\r21 readings, 10.0 per second\n");
    EXPECT_EQ(QByteArray::fromStdString(rig.out.str()).count("\r\n"), 26) << "the header and 25 rows";
}

struct Program : ::testing::Test {
    QTemporaryDir cache;  // where --demo keeps its registers between runs

    void start(QProcess& process, const QStringList& arguments, const QString& program = TOLVANE_CLI) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_CACHE_HOME", cache.path());
        process.setProcessEnvironment(environment);
        process.start(program, arguments);
        ASSERT_TRUE(process.waitForStarted());
    }
    // Exit status, standard output, standard error.
    std::tuple<int, QString, QString> run(const QStringList& arguments,
                                          const QString& program = TOLVANE_CLI) {
        QProcess process;
        start(process, arguments, program);
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

    // While another program has the board (here this one, as Python would), a change would be lost
    // when that one keeps its registers: it is refused.
    QLockFile other(cache.filePath("tolvane-cli/demo-board.lock"));
    ASSERT_TRUE(other.tryLock());
    EXPECT_EQ(
        run({"--demo", "set", "--range", "64k"}),
        std::make_tuple(2, QString(),
                        QString("tolvane-cli: The simulated board is open in another program (tolvane-cli "
                                "or Python): try again when it has finished with it.\n")));
    other.unlock();

    // Where the registers cannot be kept, a change that would not hold for the next run is a failure.
    ASSERT_TRUE(state.remove() && QDir().mkdir(state.fileName()));
    EXPECT_EQ(run({"--demo", "set", "--range", "64k"}),
              std::make_tuple(1, QString("R0 00\nR1 0C\nR2 FF\nR3 00\n"),
                              "tolvane-cli: Cannot keep the simulated board's registers in " +
                                  state.fileName() + ": Filename refers to a directory.\n"));
    EXPECT_EQ(run({"--demo", "read", "R0", "1"}), std::make_tuple(0, QString("R0 00\n"), QString()))
        << "nothing changed, nothing lost";
}

// Simulated boards side by side: each lists its serial number and keeps its own registers.
TEST_F(Program, DemoBoardsSideBySideEachKeepTheirOwnRegisters) {
    EXPECT_EQ(run({"--demo-boards", "2", "boards"}),
              std::make_tuple(0, QString("0 sim:0 ok DEMO-1\n1 sim:1 ok DEMO-2\n"), QString()));
    ASSERT_EQ(std::get<0>(run({"--demo-boards", "2", "--board", "DEMO-2", "set", "--range", "4k"})), 0);
    EXPECT_EQ(run({"--demo-boards", "2", "--board", "all", "read", "R1"}),
              std::make_tuple(0, QString("DEMO-1:\nR1 00\nDEMO-2:\nR1 04\n"), QString()));
}

// A disk that fills during a run: the system's reason, and a file that ends on its last whole row.
// /dev/full takes nothing; a limit on the file's size takes part of a row, as a full disk does, also of
// standard output appended to a file, whose former bytes stay.
TEST_F(Program, AFullDiskKeepsWholeRowsAndSaysWhy) {
    const QTemporaryDir folder;
    const QString appended = folder.filePath("appended.csv");
    QFile former(appended);
    ASSERT_TRUE(former.open(QIODevice::WriteOnly) && former.write("kept\r\n") == 6);
    former.close();
    const struct {
        QString output, limitKb, reason;
        QString rows = {};  // where the rows go, if not the output
    } cases[] = {
        {"/dev/full", "unlimited", "No space left on device"},
        {folder.filePath("rows.csv"), "1", "File too large"},
        {"", "1", "File too large", appended},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.output.toStdString());
        // The shell ignores the signal a file over its limit raises, so the write itself fails.
        const QString limited = QString("trap '' XFSZ; ulimit -f %1; exec \"$0\" \"$@\"").arg(c.limitKb) +
                                (c.output.isEmpty() ? " >> " + c.rows : "");
        const QString where = c.output.isEmpty() ? "the readings to standard output" : c.output;
        EXPECT_EQ(
            run({"-c", limited, TOLVANE_CLI, "--demo", "--light", "500", "collect", "--interval", "0",
                 "--count", "100", "--output", c.output},
                "bash"),
            std::make_tuple(1, QString(), "tolvane-cli: Cannot write " + where + ": " + c.reason + ".\n"));
        if (c.output == "/dev/full") continue;
        QFile file(c.output.isEmpty() ? c.rows : c.output);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray rows = file.readAll();
        EXPECT_TRUE(rows.endsWith("\r\n") && rows.count('\n') > 1) << rows.right(60).toStdString();
        EXPECT_EQ(rows.startsWith("kept\r\n"), file.fileName() == appended);
    }
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
