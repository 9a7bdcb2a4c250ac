#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <variant>

#include "board/reading_run.h"
#include "chip/field_changes.h"
#include "cli/outcome.h"

// The command line, read into what it asks for.

// Options before the command.
struct BoardOptions {
    QString board;  // --board N or PATH; empty: the first board found
    bool demo = false;
    std::optional<double> lightLux;  // --light, with --demo only
};

struct BoardsCommand {
    bool json = false;
};

struct ReadCommand {
    std::uint8_t first = 0;
    std::uint8_t count = 8;
    bool json = false;
};

struct WriteCommand {
    std::uint8_t reg = 0;
    std::uint8_t value = 0;
    bool json = false;
};

struct SetCommand {
    FieldChanges fields;
    QStringList notes;  // thresholds rounded to what the chip holds
    bool json = false;
};

struct CollectCommand {
    RunPlan plan;
    QString output;  // empty: standard output
};

struct ClearInterruptCommand {};

using Command =
    std::variant<BoardsCommand, ReadCommand, WriteCommand, SetCommand, CollectCommand, ClearInterruptCommand>;

struct Invocation {
    BoardOptions options;
    Command command;
};

// Help or version text, for standard output.
struct Text {
    QString text;
};

// What to run, what to print, or why the command line is wrong (a usage failure: the parser's
// message and the usage line).
using ParsedCommandLine = std::variant<Invocation, Text, Failure>;

// `arguments` without the program name.
ParsedCommandLine parseCommandLine(const QStringList& arguments);
