#include "python/open_board.h"

std::vector<ListedBoardInfo> listBoards() {
    SteadyClock clock;
    PreciseWait wait;
    SystemCalendar calendar;
    HidapiTransport hidapi;
    BoardSession session(hidapi, clock, wait, calendar);
    std::vector<ListedBoardInfo> boards;
    if (session.search()) return boards;
    for (const BoardLink::ListedBoard& listed : session.listed())
        boards.push_back({static_cast<int>(boards.size()), QString::fromStdString(listed.path),
                          QString::fromStdString(listed.serial), listed.opened});
    return boards;
}

OpenBoard::OpenBoard(int demoBoards, std::optional<double> lightLux, std::unique_ptr<QLockFile> demoLock)
    : demoLock_(std::move(demoLock)),
      transport_(demoBoards > 0 ? &demo_.emplace(clock_, lightLux, demoBoards).transport()
                                : static_cast<HidTransport*>(&hidapi_.emplace())) {
    session_ = std::make_unique<BoardSession>(*transport_, clock_, wait_, calendar_);
}

OpenBoard::~OpenBoard() {
    session_.reset();
    demo_.reset();  // keeps the registers in the file before the lock on it goes
}

std::optional<BoardFailure> OpenBoard::open(const QString& choice) {
    if (std::optional<BoardFailure> failure = session_->open(choice)) return failure;
    const BoardLink::ListedBoard& chosen = session_->listed()[session_->listedIndex()];
    listed_ = {static_cast<int>(session_->listedIndex()), QString::fromStdString(chosen.path),
               QString::fromStdString(chosen.serial), true};
    return std::nullopt;
}
