#include "cli/register_commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "common/hex.h"

namespace {

void print(std::ostream& out, const QString& text) {
    out << text.toStdString();
}

template <typename Json>
void printJson(std::ostream& out, const Json& json) {
    out << QJsonDocument(json).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

QString nameOf(const Registers& registers, std::size_t i) {
    return "R" + QString::number(registers.first + static_cast<int>(i));
}

// {"R0":"80",...}
QJsonObject registersJson(const Registers& registers) {
    QJsonObject object;
    for (std::size_t i = 0; i < registers.values.size(); ++i)
        object[nameOf(registers, i)] = Hex2(registers.values[i]);
    return object;
}

// "R0 80" a line.
QString registersText(const Registers& registers) {
    QString lines;
    for (std::size_t i = 0; i < registers.values.size(); ++i)
        lines += nameOf(registers, i) + " " + Hex2(registers.values[i]) + "\n";
    return lines;
}

// The registers read, if any were (also those of a read-back that differs), then the failure, if any.
std::optional<Failure> printed(const RegisterOutcome& outcome, bool json, std::ostream& out) {
    if (!outcome.registers.values.empty()) {
        if (json) {
            printJson(out, registersJson(outcome.registers));
        } else {
            print(out, registersText(outcome.registers));
        }
    }
    return outcome.failure;
}

// What the command does to one board; clear-interrupt reads nothing it prints.
RegisterOutcome outcomeOf(const Command& command, BoardSession& board) {
    if (const auto* read = std::get_if<ReadCommand>(&command)) return board.read(read->first, read->count);
    if (const auto* write = std::get_if<WriteCommand>(&command)) return board.write(write->reg, write->value);
    if (const auto* set = std::get_if<SetCommand>(&command)) return board.set(set->fields);
    return {{}, board.clearInterrupt()};
}

bool jsonAsked(const Command& command) {
    return std::visit(
        [](const auto& c) {
            if constexpr (requires { c.json; }) return c.json;
            return false;
        },
        command);
}

void printNotes(const Command& command, std::ostream& err) {
    if (const auto* set = std::get_if<SetCommand>(&command))
        for (const QString& note : set->notes) print(err, "tolvane-cli: " + note + "\n");
}

}  // namespace

std::optional<Failure> listBoards(const BoardsCommand& command, BoardSession& board, std::ostream& out,
                                  std::ostream& err) {
    if (std::optional<BoardFailure> failure = board.search()) return failure;
    QJsonArray boards;
    QString lines;
    bool refused = false;
    for (std::size_t i = 0; i < board.listed().size(); ++i) {
        const BoardLink::ListedBoard& listed = board.listed()[i];
        const QString path = QString::fromStdString(listed.path);
        const QString access = listed.opened ? "ok" : "no permission";
        QJsonObject entry{{"index", static_cast<int>(i)}, {"path", path}, {"access", access}};
        QString line = QString("%1 %2 %3").arg(i).arg(path, access);
        // The serial number last, where there is one: scripts reading the first columns read them still.
        if (!listed.serial.empty()) {
            entry["serial"] = QString::fromStdString(listed.serial);
            line += " " + QString::fromStdString(listed.serial);
        }
        boards.append(entry);
        lines += line + "\n";
        refused = refused || !listed.opened;
    }
    if (command.json) {
        printJson(out, QJsonObject{{"boards", boards}});
    } else {
        print(out, lines);
    }
    // Not a failure of the listing, but the user needs to know what to do about it.
    if (refused) print(err, "tolvane-cli: " + noPermissionText() + "\n");
    return std::nullopt;
}

std::optional<Failure> onBoard(const Command& command, BoardSession& board, std::ostream& out,
                               std::ostream& err) {
    printNotes(command, err);
    return printed(outcomeOf(command, board), jsonAsked(command), out);
}

std::optional<Failure> onEachBoard(const Command& command, const std::vector<BoardSession*>& boards,
                                   std::ostream& out, std::ostream& err) {
    printNotes(command, err);
    const bool json = jsonAsked(command);
    QJsonArray objects;
    std::optional<Failure> first;
    for (BoardSession* board : boards) {
        const RegisterOutcome outcome = outcomeOf(command, *board);
        QJsonObject object = registersJson(outcome.registers);
        object["board"] = board->name();
        if (outcome.failure) {
            object["error"] = outcome.failure->message;
            print(err, "tolvane-cli: " + board->name() + ": " + outcome.failure->message + "\n");
            if (!first) first = Failure{Failure(*outcome.failure).status, QString()};  // said above
        }
        objects.append(object);
        if (!json) print(out, board->name() + ":\n" + registersText(outcome.registers));
    }
    if (json) printJson(out, objects);
    return first;
}
