#include "python/open_board.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

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

std::optional<std::unique_ptr<QLockFile>> lockDemoBoard() {
    const QString state = DemoBoard::statePath();
    QDir().mkpath(QFileInfo(state).path());
    auto lock = std::make_unique<QLockFile>(state + ".lock");
    lock->setStaleLockTime(0);  // stale only when the process that took it is gone
    if (lock->tryLock()) return lock;
    if (lock->error() != QLockFile::LockFailedError) return nullptr;
    return std::nullopt;
}

OpenBoard::OpenBoard(bool demo, std::optional<double> lightLux, std::unique_ptr<QLockFile> demoLock)
    : demoLock_(std::move(demoLock)) {
    HidTransport& transport =
        demo ? demo_.emplace(clock_, lightLux).transport() : static_cast<HidTransport&>(hidapi_.emplace());
    session_ = std::make_unique<BoardSession>(transport, clock_, wait_, calendar_);
}

OpenBoard::~OpenBoard() {
    session_.reset();
    demo_.reset();  // keeps the registers in the file before the lock on it goes
}

std::optional<BoardFailure> OpenBoard::open(const QString& choice) {
    if (std::optional<BoardFailure> failure = session_->open(choice)) return failure;
    const std::vector<BoardLink::ListedBoard>& boards = session_->listed();
    bool isIndex = false;
    const int index = choice.toInt(&isIndex);
    const auto chosen =
        choice.isEmpty() ? std::find_if(boards.begin(), boards.end(),
                                        [](const BoardLink::ListedBoard& b) { return b.opened; })
        : isIndex        ? boards.begin() + index
                         : std::find_if(boards.begin(), boards.end(), [&](const BoardLink::ListedBoard& b) {
                        return QString::fromStdString(b.path) == choice ||
                               QString::fromStdString(b.serial) == choice;
                    });
    listed_ = {static_cast<int>(chosen - boards.begin()), QString::fromStdString(chosen->path),
               QString::fromStdString(chosen->serial), true};
    return std::nullopt;
}
