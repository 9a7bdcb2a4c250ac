#include "cli/cli.h"

#include <variant>

#include "board/board_choice.h"
#include "board/board_session.h"
#include "cli/collect.h"
#include "cli/register_commands.h"

namespace {

const QString kDemoBoardTaken = QStringLiteral(
    "The simulated board is open in another program (tolvane-cli or Python): try again when it has "
    "finished with it.");

int failed(const Failure& failure, std::ostream& err) {
    if (!failure.message.isEmpty()) err << ("tolvane-cli: " + failure.message + "\n").toStdString();
    return failure.status;
}

// What a script reads must have reached it: output the system refused (a full disk) is a failure.
int finished(std::optional<Failure> failure, CliSystem& system) {
    if (!failure && !system.out.flush()) failure = Failure{ExitUsage, "Cannot write to standard output."};
    return failure ? failed(*failure, system.err) : ExitDone;
}

std::optional<Failure> runOnOne(const Invocation& invocation, BoardSession& board, CliSystem& system) {
    if (const auto* boards = std::get_if<BoardsCommand>(&invocation.command))
        return listBoards(*boards, board, system.out, system.err);
    if (std::optional<Failure> failure = board.open(invocation.options.boards.value(0))) return failure;
    if (const auto* readings = std::get_if<CollectCommand>(&invocation.command))
        return collect(*readings, board, system);
    return onBoard(invocation.command, board, system.out, system.err);
}

std::optional<Failure> runOnSeveral(const Invocation& invocation, HidTransport& transport,
                                    CliSystem& system) {
    std::vector<std::unique_ptr<BoardSession>> sessions;
    if (std::optional<BoardFailure> failure = openBoards(invocation.options.boards, transport, system.clock,
                                                         system.wait, system.calendar, sessions))
        return failure;
    std::vector<BoardSession*> boards;
    for (const std::unique_ptr<BoardSession>& session : sessions) boards.push_back(session.get());
    if (const auto* readings = std::get_if<CollectCommand>(&invocation.command))
        return collectFromBoards(*readings, boards, system);
    return onEachBoard(invocation.command, boards, system.out, system.err);
}

}  // namespace

int runCli(const QStringList& arguments, CliSystem& system) {
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    if (const Text* text = std::get_if<Text>(&parsed)) {
        system.out << text->text.toStdString();
        return finished(std::nullopt, system);
    }
    if (const Failure* usage = std::get_if<Failure>(&parsed)) return failed(*usage, system.err);
    const Invocation& invocation = std::get<Invocation>(parsed);
    HidTransport* const boards = system.transport(invocation.options);
    if (!boards) return failed(Failure{ExitNoBoard, kDemoBoardTaken}, system.err);
    HidTransport& transport = *boards;
    std::optional<Failure> failure;
    if (invocation.options.several() && !std::holds_alternative<BoardsCommand>(invocation.command)) {
        failure = runOnSeveral(invocation, transport, system);
    } else {
        BoardSession board(transport, system.clock, system.wait, system.calendar);
        failure = runOnOne(invocation, board, system);
    }
    return finished(failure, system);
}
