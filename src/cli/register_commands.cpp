#include "cli/register_commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "common/hex.h"

namespace {

void print(std::ostream& out, const QString& text) {
    out << text.toStdString();
}

void printJson(std::ostream& out, const QJsonObject& object) {
    out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

// "R0 80" a line, or {"R0":"80",...}.
void printRegisters(std::ostream& out, const Registers& registers, bool json) {
    QJsonObject object;
    QString lines;
    for (std::size_t i = 0; i < registers.values.size(); ++i) {
        const QString name = "R" + QString::number(registers.first + static_cast<int>(i));
        object[name] = Hex2(registers.values[i]);
        lines += name + " " + Hex2(registers.values[i]) + "\n";
    }
    if (json) {
        printJson(out, object);
    } else {
        print(out, lines);
    }
}

// The registers read, if any were (also those of a read-back that differs), then the failure, if any.
std::optional<Failure> printed(const RegisterOutcome& outcome, bool json, std::ostream& out) {
    if (!outcome.registers.values.empty()) printRegisters(out, outcome.registers, json);
    return outcome.failure;
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
        boards.append(QJsonObject{{"index", static_cast<int>(i)}, {"path", path}, {"access", access}});
        lines += QString("%1 %2 %3\n").arg(i).arg(path, access);
        refused = refused || !listed.opened;
    }
    if (command.json) {
        printJson(out, {{"boards", boards}});
    } else {
        print(out, lines);
    }
    // Not a failure of the listing, but the user needs to know what to do about it.
    if (refused) print(err, "tolvane-cli: " + noPermissionText() + "\n");
    return std::nullopt;
}

std::optional<Failure> readRegisters(const ReadCommand& command, BoardSession& board, std::ostream& out) {
    return printed(board.read(command.first, command.count), command.json, out);
}

std::optional<Failure> writeRegister(const WriteCommand& command, BoardSession& board, std::ostream& out) {
    return printed(board.write(command.reg, command.value), command.json, out);
}

std::optional<Failure> setFields(const SetCommand& command, BoardSession& board, std::ostream& out,
                                 std::ostream& err) {
    for (const QString& note : command.notes) print(err, "tolvane-cli: " + note + "\n");
    return printed(board.set(command.fields), command.json, out);
}

std::optional<Failure> clearInterrupt(BoardSession& board) {
    return board.clearInterrupt();
}
