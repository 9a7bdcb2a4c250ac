#include "cli/cli.h"

#include <variant>

#include "board/board_session.h"
#include "cli/collect.h"
#include "cli/register_commands.h"

namespace {

int failed(const Failure& failure, std::ostream& err) {
    err << ("tolvane-cli: " + failure.message + "\n").toStdString();
    return failure.status;
}

std::optional<Failure> run(const Invocation& invocation, BoardSession& board, CliSystem& system) {
    if (const auto* boards = std::get_if<BoardsCommand>(&invocation.command))
        return listBoards(*boards, board, system.out, system.err);
    if (std::optional<Failure> failure = board.open(invocation.options.board)) return failure;
    if (const auto* read = std::get_if<ReadCommand>(&invocation.command))
        return readRegisters(*read, board, system.out);
    if (const auto* write = std::get_if<WriteCommand>(&invocation.command))
        return writeRegister(*write, board, system.out);
    if (const auto* set = std::get_if<SetCommand>(&invocation.command))
        return setFields(*set, board, system.out, system.err);
    if (const auto* readings = std::get_if<CollectCommand>(&invocation.command))
        return collect(*readings, board, system);
    return clearInterrupt(board);
}

}  // namespace

int runCli(const QStringList& arguments, CliSystem& system) {
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (const Text* text = std::get_if<Text>(&parsed)) {
        system.out << text->text.toStdString();
        return ExitDone;
    }
    if (const Failure* usage = std::get_if<Failure>(&parsed)) return failed(*usage, system.err);
    const Invocation& invocation = std::get<Invocation>(parsed);
    BoardSession board(system.transport(invocation.options), system.clock, system.wait, system.calendar);
    const std::optional<Failure> failure = run(invocation, board, system);
    return failure ? failed(*failure, system.err) : ExitDone;
}
