#include "cli/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <cmath>
#include <functional>
#include <limits>
#include <span>
#include <vector>

#include "chip/chip_map.h"
#include "chip/thresholds.h"
#include "common/hex.h"

namespace {

constexpr char kProgram[] = "tolvane-cli";
constexpr std::int64_t kLongestIntervalMs = 24 * 3600 * 1000;
constexpr std::int64_t kMostDemoBoards = 16;

// What a command's own words ask for, or what is wrong with them.
using CommandOrError = std::variant<Command, QString>;

// A command's argument: its name, what it is, and its part of the usage line.
struct ArgumentSyntax {
    const char* name;
    const char* help;
    const char* usage;
};

struct CommandSyntax {
    const char* name;
    const char* summary;
    std::vector<ArgumentSyntax> arguments;
    QList<QCommandLineOption> options;
    std::function<CommandOrError(const QCommandLineParser&)> read;
};

// QCommandLineParser names the program after argv[0]; a script's author knows it as tolvane-cli,
// wherever it was started from.
QString helpOf(const QCommandLineParser& parser, const QString& program) {
    QString text = parser.helpText();
    const QString usage = "Usage: " + QCoreApplication::arguments().value(0);
    if (text.startsWith(usage)) text.replace(0, usage.size(), "Usage: " + program);
    return text;
}

Failure usageError(const QCommandLineParser& parser, const QString& program, const QString& message) {
    return {ExitUsage, message + "\n" + helpOf(parser, program).section('\n', 0, 0)};
}

QCommandLineOption helpOption() {
    return {{"h", "help"}, "Shows this help."};
}

QCommandLineOption jsonOption() {
    return {"json", "Prints one JSON object instead of lines."};
}

QString invalid(const QString& value, const QString& what, const QString& expected) {
    return QString("Invalid value '%1' for %2: %3.").arg(value, what, expected);
}

// The index of `value` among `names`, which the usage line lists.
std::optional<int> choice(const QCommandLineParser& parser, const QString& option,
                          std::span<const char* const> names, QString& error) {
    if (!parser.isSet(option)) return std::nullopt;
    const QString value = parser.value(option);
    int index = 0;
    QStringList listed;
    for (const char* name : names) {
        if (value.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) return index;
        listed << name;
        ++index;
    }
    error = invalid(value, "--" + option, "one of " + listed.join(", "));
    return std::nullopt;
}

// "R3", "r3", "3" or "03": a register address, up to `count` - 1.
std::optional<std::uint8_t> registerNumber(QString text, int count) {
    if (text.startsWith('R', Qt::CaseInsensitive)) text.remove(0, 1);
    const std::optional<std::uint8_t> reg = parseHexByte(text);
    if (!reg || *reg >= count) return std::nullopt;
    return reg;
}

std::optional<std::int64_t> wholeNumber(const QString& text, std::int64_t lowest, std::int64_t highest) {
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok, 10);
    if (!ok || value < lowest || value > highest) return std::nullopt;
    return value;
}

QString unexpectedArgument(const QCommandLineParser& parser, int allowed) {
    const QStringList positional = parser.positionalArguments();
    return positional.size() > allowed ? QString("Unexpected argument '%1'.").arg(positional[allowed])
                                       : QString();
}

CommandOrError readBoards(const QCommandLineParser& parser) {
    if (QString error = unexpectedArgument(parser, 0); !error.isEmpty()) return error;
    return BoardsCommand{parser.isSet("json")};
}

CommandOrError readRead(const QCommandLineParser& parser) {
    if (QString error = unexpectedArgument(parser, 2); !error.isEmpty()) return error;
    const QStringList positional = parser.positionalArguments();
    ReadCommand read{0, kRegisterCount, parser.isSet("json")};
    if (positional.isEmpty()) return read;
    const std::optional<std::uint8_t> first = registerNumber(positional[0], kRegisterCount);
    if (!first) return invalid(positional[0], "FIRST", "a register from R0 to R7");
    read.first = *first;
    read.count = 1;
    if (positional.size() < 2) return read;
    const std::optional<std::int64_t> count = wholeNumber(positional[1], 1, kRegisterCount - *first);
    if (!count)
        return invalid(positional[1], "COUNT",
                       QString("1 to %1 from R%2").arg(kRegisterCount - *first).arg(*first));
    read.count = static_cast<std::uint8_t>(*count);
    return read;
}

// A byte in hexadecimal, with or without "0x".
std::optional<std::uint8_t> hexByte(QString text) {
    if (text.startsWith("0x", Qt::CaseInsensitive)) text.remove(0, 2);
    return parseHexByte(text);
}

CommandOrError readWrite(const QCommandLineParser& parser) {
    if (QString error = unexpectedArgument(parser, 2); !error.isEmpty()) return error;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() < 2) return QString("Name the register and its value.");
    const std::optional<std::uint8_t> reg = registerNumber(positional[0], kWritableCount);
    if (!reg) return invalid(positional[0], "REG", "a register from R0 to R3");
    const std::optional<std::uint8_t> value = hexByte(positional[1]);
    if (!value) return invalid(positional[1], "VALUE", "a byte in hexadecimal, 00 to FF");
    return WriteCommand{*reg, *value, parser.isSet("json")};
}

// A threshold as the chip holds it: a multiple of 256, so others are rounded down to one and noted.
std::optional<std::uint8_t> threshold(const QCommandLineParser& parser, const QString& option, bool low,
                                      SetCommand& set, QString& error) {
    if (!parser.isSet(option)) return std::nullopt;
    const QString text = parser.value(option);
    const ThresholdEntry entry = low ? checkLowThreshold(text) : checkHighThreshold(text);
    if (entry.verdict != ThresholdEntry::Verdict::Accepted) {
        error = invalid(text, "--" + option, low ? "0 or 256 to 65280" : "256 to 65280");
        return std::nullopt;
    }
    if (entry.adjusted)
        set.notes << QString("--%1 %2 is set as %3: the chip holds multiples of 256.")
                         .arg(option, text)
                         .arg(entry.value);
    return entry.registerValue;
}

CommandOrError readSet(const QCommandLineParser& parser) {
    if (QString error = unexpectedArgument(parser, 0); !error.isEmpty()) return error;
    QString error;
    SetCommand set;
    set.json = parser.isSet("json");
    FieldChanges& fields = set.fields;
    fields.mode = choice(parser, "mode", kModeNames, error);
    fields.resolution = choice(parser, "resolution", kResolutionNames, error);
    fields.range = choice(parser, "range", kRangeNames, error);
    if (const std::optional<int> power = choice(parser, "power", kPowerNames, error))
        fields.powerDown = *power == 1;
    fields.persistence = choice(parser, "persistence", kPersistenceNames, error);
    fields.highLimit = threshold(parser, "high", false, set, error);
    fields.lowLimit = threshold(parser, "low", true, set, error);
    if (!error.isEmpty()) return error;
    const bool any = fields.mode || fields.resolution || fields.range || fields.powerDown ||
                     fields.persistence || fields.highLimit || fields.lowLimit;
    if (!any) return QString("Name at least one field to set.");
    return set;
}

CommandOrError readCollect(const QCommandLineParser& parser) {
    if (QString error = unexpectedArgument(parser, 0); !error.isEmpty()) return error;
    CollectCommand collect;
    if (parser.isSet("interval")) {
        const std::optional<std::int64_t> interval =
            wholeNumber(parser.value("interval"), 0, kLongestIntervalMs);
        if (!interval)
            return invalid(parser.value("interval"), "--interval", "milliseconds from 0 to 86400000");
        collect.plan.intervalMs = static_cast<std::uint32_t>(*interval);
    }
    if (parser.isSet("count") && parser.isSet("duration"))
        return QString("--count and --duration cannot be given together.");
    if (parser.isSet("count")) {
        collect.plan.count = wholeNumber(parser.value("count"), 1, std::numeric_limits<std::int64_t>::max());
        if (!collect.plan.count) return invalid(parser.value("count"), "--count", "a whole number from 1");
    }
    if (parser.isSet("duration")) {
        bool ok = false;
        const double seconds = parser.value("duration").toDouble(&ok);
        // Counted in milliseconds: a shorter duration would be none at all.
        if (!ok || !(seconds >= 0.001 && seconds <= 1e9))
            return invalid(parser.value("duration"), "--duration", "seconds from 0.001 to 1000000000");
        collect.plan.durationMs = std::llround(seconds * 1000);
    }
    collect.output = parser.value("output");
    return collect;
}

CommandOrError readClearInterrupt(const QCommandLineParser& parser) {
    if (QString error = unexpectedArgument(parser, 0); !error.isEmpty()) return error;
    return ClearInterruptCommand{};
}

std::vector<CommandSyntax> commands() {
    return {
        {"boards",
         "Lists the matching boards, one a line: index, path, \"ok\" or \"no permission\".",
         {},
         {jsonOption()},
         readBoards},
        {"read",
         "Reads registers, R0 to R7 unless FIRST and COUNT say otherwise: one line each, \"R0 80\".",
         {{"FIRST", "A register, R0 to R7 (or 0 to 7).", "[FIRST"},
          {"COUNT", "How many registers from FIRST on (default 1).", "[COUNT]]"}},
         {jsonOption()},
         readRead},
        {"write",
         "Writes one register (R0 to R3, value in hexadecimal), reads it back and prints it.",
         {{"REG", "R0 to R3 (or 0 to 3).", "REG"}, {"VALUE", "A byte in hexadecimal: 80 or 0x80.", "VALUE"}},
         {jsonOption()},
         readWrite},
        {"set",
         "Changes only the named fields of R0 to R3 (read, change, write, read back), then prints R0 to R3 "
         "as read does.",
         {},
         {{"mode", "Measured diodes: d1, d2 or d1-d2.", "d1|d2|d1-d2"},
          {"resolution", "ADC resolution in bits: 16, 12, 8 or 4.", "bits"},
          {"range", "Full-scale range: 1k, 4k, 16k or 64k.", "range"},
          {"power", "ADC and chip on, or powered down.", "on|off"},
          {"persistence", "Integrations outside the thresholds before the interrupt: 1, 4, 8 or 16.", "n"},
          {"high", "High interrupt threshold, a count: 256 to 65280, in steps of 256.", "N"},
          {"low", "Low interrupt threshold, a count: 0 or 256 to 65280, in steps of 256.", "N"},
          jsonOption()},
         readSet},
        {"collect",
         "Takes readings on a fixed schedule and writes one CSV row per reading as it is taken. Without "
         "--count or --duration it runs until Ctrl-C.",
         {},
         {{"interval",
           "Milliseconds from one reading's start to the next (default 100; 0: as fast as the "
           "board answers).",
           "MS"},
          {"count", "Stops after N readings.", "N"},
          {"duration", "Stops after S seconds.", "S"},
          {"output", "Writes the rows to FILE instead of standard output.", "FILE"}},
         readCollect},
        {"clear-interrupt", "Sends the chip's clear-interrupt command.", {}, {}, readClearInterrupt},
    };
}

QString programDescription() {
    QString text =
        "The Tolvane evaluation board from scripts: the chip's registers and readings, on a real "
        "board or, with --demo, on the simulated one.\n\nCommands (COMMAND --help for each):\n";
    for (const CommandSyntax& command : commands())
        text += QString("  %1  %2\n").arg(QString(command.name).leftJustified(16), command.summary);
    return text +
           "\nExit status: 0 done, 1 usage error, 2 no board or no permission, 3 the chip did not "
           "acknowledge or a read-back differs, 4 the board stopped answering.";
}

ParsedCommandLine parseCommand(const CommandSyntax& syntax, const QStringList& arguments) {
    const QString program = QString(kProgram) + " " + syntax.name;
    QCommandLineParser parser;
    parser.setApplicationDescription(syntax.summary);
    parser.addOption(helpOption());
    parser.addOptions(syntax.options);
    for (const ArgumentSyntax& argument : syntax.arguments)
        parser.addPositionalArgument(argument.name, argument.help, argument.usage);
    if (!parser.parse(QStringList{program} + arguments))
        return usageError(parser, program, parser.errorText());
    if (parser.isSet("help")) return Text{helpOf(parser, program)};
    CommandOrError command = syntax.read(parser);
    if (const QString* error = std::get_if<QString>(&command)) return usageError(parser, program, *error);
    return Invocation{{}, std::get<Command>(command)};
}

}  // namespace

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(programDescription());
    parser.addOption(helpOption());
    parser.addOption({{"v", "version"}, "Shows the program's version."});
    parser.addOption({"board",
                      "The board to use: its index, path or serial number as `boards` lists them (default: "
                      "the first that opens). Given again, or as all: several boards, each named in the "
                      "output.",
                      "N|PATH|SERIAL|all"});
    parser.addOption({"demo", "Uses the simulated board, with its timing and its moving light."});
    parser.addOption(
        {"demo-boards", "Uses N simulated boards side by side (serial numbers DEMO-1 ...).", "N"});
    parser.addOption({"light", "With --demo: a constant light of LUX instead.", "LUX"});
    parser.addPositionalArgument("COMMAND", "What to do, with its own arguments and options.", "COMMAND ...");
    // Everything after the command is the command's own.
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!parser.parse(QStringList{kProgram} + arguments))
        return usageError(parser, kProgram, parser.errorText());
    if (parser.isSet("version")) return Text{QString("%1 %2\n").arg(kProgram, TOLVANE_VERSION)};
    if (parser.isSet("help")) return Text{helpOf(parser, kProgram)};

    BoardOptions options{parser.values("board"), parser.isSet("demo") || parser.isSet("demo-boards"), 1,
                         std::nullopt};
    if (parser.isSet("demo-boards")) {
        const std::optional<std::int64_t> count =
            wholeNumber(parser.value("demo-boards"), 1, kMostDemoBoards);
        if (!count)
            return usageError(parser, kProgram,
                              invalid(parser.value("demo-boards"), "--demo-boards", "a number from 1 to 16"));
        options.demoBoards = static_cast<int>(*count);
    }
    if (parser.isSet("light")) {
        bool ok = false;
        const double lux = parser.value("light").toDouble(&ok);
        if (!options.demo) return usageError(parser, kProgram, "--light needs --demo.");
        if (!ok || !(lux >= 0) || lux > 1e6)
            return usageError(parser, kProgram,
                              invalid(parser.value("light"), "--light", "lux from 0 to 1000000"));
        options.lightLux = lux;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) return usageError(parser, kProgram, "No command given.");
    for (const CommandSyntax& syntax : commands()) {
        if (positional[0] != QLatin1String(syntax.name)) continue;
        ParsedCommandLine parsed = parseCommand(syntax, positional.mid(1));
        if (Invocation* invocation = std::get_if<Invocation>(&parsed)) invocation->options = options;
        return parsed;
    }
    return usageError(parser, kProgram, QString("Unknown command '%1'.").arg(positional[0]));
}
