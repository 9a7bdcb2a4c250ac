#include "cli/board_choice.h"

namespace {

std::unique_ptr<BoardSession> sessionOn(HidTransport& transport, CliSystem& system) {
    return std::make_unique<BoardSession>(transport, system.clock, system.wait, system.calendar);
}

// "all" as the indices of the boards that open.
std::optional<Failure> everyBoard(HidTransport& transport, CliSystem& system, QStringList& choices) {
    const std::unique_ptr<BoardSession> lister = sessionOn(transport, system);
    if (std::optional<BoardFailure> failure = lister->open({})) return failure;
    choices.clear();
    for (std::size_t i = 0; i < lister->listed().size(); ++i)
        if (lister->listed()[i].opened) choices << QString::number(i);
    return std::nullopt;
}

}  // namespace

std::optional<Failure> openBoards(const QStringList& choices, HidTransport& transport, CliSystem& system,
                                  std::vector<std::unique_ptr<BoardSession>>& sessions) {
    QStringList chosen = choices;
    if (chosen.contains("all")) {
        if (chosen.size() > 1) return Failure{ExitUsage, "--board all names every board: give it alone."};
        if (std::optional<Failure> failure = everyBoard(transport, system, chosen)) return failure;
    }
    QStringList names;
    for (const QString& choice : chosen) {
        std::unique_ptr<BoardSession> session = sessionOn(transport, system);
        if (std::optional<BoardFailure> failure = session->open(choice)) return failure;
        if (names.contains(session->name()))
            return Failure{ExitUsage,
                           QString("--board %1 chooses %2 a second time.").arg(choice, session->name())};
        names << session->name();
        sessions.push_back(std::move(session));
    }
    return std::nullopt;
}
