// Each command as a script runs it: what it prints, its exit status and the transfers the board
// receives, which are the console's own.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include "boardlink/board_link.h"
#include "tests/cli/cli_rig.h"
#include "tests/doubles/forwarding_transport.h"

namespace {

using Lines = std::vector<std::string>;

// The chip as a board that has been in use holds it: ADC on, 16 bits, D1; R1 with range 4k and its
// interrupt flag up.
void useChip(sim::TolvaneChip& chip) {
    for (const auto& [reg, value] : {std::pair{0, 0x80}, {1, 0x24}, {2, 0xFF}, {3, 0x00}})
        chip.setReg(reg, static_cast<std::uint8_t>(value));
}

TEST(Commands, EachPrintsWhatTheChipHoldsAndSendsTheConsolesTransfers) {
    const struct {
        QStringList arguments;
        std::string out;
        Lines sent;
        int board = 0;  // the one that receives the transfers
        QString err = {};
    } cases[] = {
        {{"read"}, "R0 80\nR1 24\nR2 FF\nR3 00\nR4 00\nR5 00\nR6 00\nR7 00\n", {"01 06 89 08 01 00"}},
        {{"read", "R2", "2"}, "R2 FF\nR3 00\n", {"01 06 89 02 01 02"}},
        {{"read", "5"}, "R5 00\n", {"01 06 89 01 01 05"}},
        {{"read", "--json", "0", "2"},
         R"({"R0":"80","R1":"24"})"
         "\n",
         {"01 06 89 02 01 00"}},
        {{"write", "R3", "0x20"}, "R3 20\n", {"01 06 88 01 01 03 20", "01 06 89 01 01 03"}},
        // The interrupt flag is the chip's: a read-back that differs only there holds what was written.
        {{"write", "--json", "1", "c"},
         R"({"R1":"2C"})"
         "\n",
         {"01 06 88 01 01 01 0c", "01 06 89 01 01 01"}},
        {{"set", "--mode", "d1-d2", "--resolution", "12", "--power", "off", "--range", "64k", "--persistence",
          "8", "--high", "4096", "--low", "512"},
         "R0 49\nR1 2E\nR2 10\nR3 02\n",
         {"01 06 89 04 01 00", "01 06 88 01 01 00 49", "01 06 88 01 01 01 2e", "01 06 88 01 01 02 10",
          "01 06 88 01 01 03 02", "01 06 89 04 01 00"}},
        {{"set", "--range", "16k", "--json"},
         R"({"R0":"80","R1":"28","R2":"FF","R3":"00"})"
         "\n",
         {"01 06 89 04 01 00", "01 06 88 01 01 01 28", "01 06 89 04 01 00"}},
        {{"clear-interrupt"}, "", {"01 06 89 01 01 00", "01 06 88 01 01 40 80"}},
        {{"boards"}, "0 sim:0 ok\n1 sim:1 no permission\n2 sim:2 ok\n", {}, 0, noPermissionText()},
        {{"boards", "--json"},
         R"({"boards":[{"access":"ok","index":0,"path":"sim:0"},{"access":"no permission","index":1,)"
         R"("path":"sim:1"},{"access":"ok","index":2,"path":"sim:2"}]})"
         "\n",
         {},
         0,
         noPermissionText()},
        {{"--board", "2", "read", "0"}, "R0 80\n", {"01 06 89 01 01 00"}, 2},
        {{"--board", "sim:2", "read", "0"}, "R0 80\n", {"01 06 89 01 01 00"}, 2},
        {{"--demo", "--light", "300", "read", "0"}, "R0 80\n", {"01 06 89 01 01 00"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        CliRig rig;
        sim::SimBoard* boards[] = {&rig.bus.addBoard(), (rig.bus.addUnopenableDevice(), &rig.bus.addBoard())};
        for (sim::SimBoard* board : boards) useChip(board->chip);
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

// Flips bit 0 of the first data byte of every answer: a chip that does not keep what it is given.
class ForgetfulChip final : public ForwardingTransport {
public:
    using ForwardingTransport::ForwardingTransport;
    bool read(HidHandle handle, Report& report, int timeoutMs) override {
        const bool arrived = ForwardingTransport::read(handle, report, timeoutMs);
        report[2] ^= 1;
        return arrived;
    }
};

const QString kNotFound =
    "Please check USB connection. Halvora HID USB Device: VID 7C4B, PID 2019  Tolvane "
    "Evaluation Board not found.";

// Every way a run can fail, with its status and its line on standard error; a usage error adds the
// command's usage line.
TEST(Commands, EachFailureHasItsExitStatusAndOneLineSayingWhy) {
    const auto board = [](CliRig& r) { r.bus.addBoard(); };
    const QString read = "read [options] [FIRST [COUNT]]", set = "set [options]",
                  any = "[options] COMMAND ...";
    const struct {
        std::function<void(CliRig&)> setUp;
        QStringList arguments;
        int status;
        QString err;
        QString usage = {};  // the command's usage line follows a usage error
    } cases[] = {
        {{}, {"frobnicate"}, 1, "Unknown command 'frobnicate'.", any},
        {{}, {"read", "--bogus"}, 1, "Unknown option 'bogus'.", read},
        {{}, {"read", "R8"}, 1, "Invalid value 'R8' for FIRST: a register from R0 to R7.", read},
        {{}, {"read", "R6", "3"}, 1, "Invalid value '3' for COUNT: 1 to 2 from R6.", read},
        {{},
         {"write", "R4", "00"},
         1,
         "Invalid value 'R4' for REG: a register from R0 to R3.",
         "write [options] REG VALUE"},
        {{}, {"set", "--range", "2k"}, 1, "Invalid value '2k' for --range: one of 1k, 4k, 16k, 64k.", set},
        {{}, {"set", "--high", "100"}, 1, "Invalid value '100' for --high: 256 to 65280.", set},
        {{}, {"set"}, 1, "Name at least one field to set.", set},
        {{},
         {"collect", "--count", "3", "--duration", "1"},
         1,
         "--count and --duration cannot be given together.",
         "collect [options]"},
        {{}, {"--light", "500", "read"}, 1, "--light needs --demo.", any},
        {board,
         {"collect", "--output", "/nonexistent/readings.csv"},
         1,
         "Cannot write /nonexistent/readings.csv: No such file or directory."},
        {[](CliRig& r) { r.bus.addForeignDevice(0x046D, 0xC077); }, {"read"}, 2, kNotFound},
        {[](CliRig& r) { r.bus.addUnopenableDevice(); }, {"read"}, 2, kNotFound + " " + noPermissionText()},
        {board, {"--board", "1", "read"}, 2, "No board 1; `tolvane-cli boards` lists the boards there are."},
        {[](CliRig& r) { r.bus.addBoard(), r.bus.addUnopenableDevice(); },
         {"--board", "sim:1", "write", "R0", "80"},
         2,
         noPermissionText()},
        {[](CliRig& r) { r.bus.addBoard().chip.acknowledges = false; },
         {"read"},
         3,
         "The chip did not acknowledge (I2C address 88)."},
        {[](CliRig& r) {
             r.bus.addBoard();
             r.wire = std::make_unique<ForgetfulChip>(r.bus);
             r.transport = r.wire.get();
         },
         {"write", "R0", "80"},
         3,
         "R0 reads back 81, not 80 as written."},
        {[](CliRig& r) { r.bus.addBoard().dropAnswers(1); },
         {"read"},
         4,
         "Please check USB connection. The board did not answer within 6000 ms."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
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
    CliRig rig;
    EXPECT_EQ(rig.run({"--version"}), 0);
    EXPECT_TRUE(QRegularExpression(R"(^tolvane-cli \d+\.\d+\.\d+\n$)")
                    .match(QString::fromStdString(rig.out.str()))
                    .hasMatch())
        << rig.out.str();
    EXPECT_EQ(rig.run({"--help"}), 0);
    EXPECT_TRUE(rig.out.str().starts_with("Usage: tolvane-cli [options] COMMAND ...\n"));
    for (const char* command : {"boards", "read", "write", "set", "collect", "clear-interrupt"})
        EXPECT_NE(rig.out.str().find(std::string("  ") + command + " "), std::string::npos) << command;
    EXPECT_EQ(rig.run({"set", "--help"}), 0);
    EXPECT_TRUE(rig.out.str().starts_with("Usage: tolvane-cli set [options]\n"));
    EXPECT_NE(rig.out.str().find("--persistence <n>"), std::string::npos);
    EXPECT_EQ(rig.err.str(), "");
}

}  // namespace
