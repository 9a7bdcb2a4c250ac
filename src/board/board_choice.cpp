#include "board/board_choice.h"

namespace {

struct Runs {
    HidTransport& transport;
    Clock& clock;
    DueTimeWait& wait;
    Calendar& calendar;
    std::unique_ptr<BoardSession> session() const {
        return std::make_unique<BoardSession>(transport, clock, wait, calendar);
    }
};

// "all" as the indices of the boards that open.
std::optional<BoardFailure> everyBoard(const Runs& on, QStringList& choices) {
    const std::unique_ptr<BoardSession> lister = on.session();
    if (std::optional<BoardFailure> failure = lister->open({})) return failure;
    choices.clear();
    for (std::size_t i = 0; i < lister->listed().size(); ++i)
        if (lister->listed()[i].opened) choices << QString::number(i);
    return std::nullopt;
}

}  // namespace

std::optional<BoardFailure> openBoards(const QStringList& choices, HidTransport& transport, Clock& clock,
                                       DueTimeWait& wait, Calendar& calendar,
                                       std::vector<std::unique_ptr<BoardSession>>& sessions) {
    const Runs on{transport, clock, wait, calendar};
    QStringList chosen = choices;
    if (chosen.contains("all")) {
        if (chosen.size() > 1)
            return BoardFailure{BoardFault::BadChoice, "all names every board: give it alone."};
        if (std::optional<BoardFailure> failure = everyBoard(on, chosen)) return failure;
    }
    QStringList names;
    for (const QString& choice : chosen) {
        std::unique_ptr<BoardSession> session = on.session();
        if (std::optional<BoardFailure> failure = session->open(choice)) return failure;
        if (names.contains(session->name()))
            return BoardFailure{BoardFault::BadChoice,
                                QString("%1 chooses %2 a second time.").arg(choice, session->name())};
        names << session->name();
        sessions.push_back(std::move(session));
    }
    return std::nullopt;
}
