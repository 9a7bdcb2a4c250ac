#pragma once

#include <QLockFile>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

#include "board/board_session.h"
#include "board/demo_board.h"
#include "board/precise_wait.h"
#include "boardlink/hidapi_transport.h"

// A board as boards() lists it and Board.info gives it.
struct ListedBoardInfo {
    int index = 0;
    QString path;
    QString serial;       // empty where the board gives none
    bool usable = false;  // opened; else the system refused it ("no permission")
};

// Every interface listed with the board's ids, in the order listed; none when there are none.
std::vector<ListedBoardInfo> listBoards();

// A board the module has opened and everything its session runs on: its own transport (hidapi, or the
// simulated board), clock, due-time wait and calendar, so that boards on two threads share nothing.
class OpenBoard {
public:
    // `demoBoards` simulated boards (none: the boards hidapi finds), claimed by `demoLock`, with a
    // constant light of `lightLux` if given.
    OpenBoard(int demoBoards, std::optional<double> lightLux, std::unique_ptr<QLockFile> demoLock);
    ~OpenBoard();
    OpenBoard(const OpenBoard&) = delete;
    OpenBoard& operator=(const OpenBoard&) = delete;

    // Opens the board `choice` names (an index, a path or a serial number; empty: the first that opens).
    std::optional<BoardFailure> open(const QString& choice);
    BoardSession& session() { return *session_; }
    // The board open, as listed.
    const ListedBoardInfo& listed() const { return listed_; }
    // What further sessions, on the other boards of the same transport, run on.
    HidTransport& transport() { return *transport_; }
    Clock& clock() { return clock_; }
    DueTimeWait& dueTimeWait() { return wait_; }
    Calendar& calendar() { return calendar_; }
    // Keeps the simulated boards' registers for the next program (DemoBoard::keepRegisters); why not.
    std::optional<QString> keepDemoRegisters() { return demo_ ? demo_->keepRegisters() : std::nullopt; }

private:
    SteadyClock clock_;
    PreciseWait wait_;
    SystemCalendar calendar_;
    std::unique_ptr<QLockFile> demoLock_;
    std::optional<DemoBoard> demo_;
    std::optional<HidapiTransport> hidapi_;
    HidTransport* transport_;
    std::unique_ptr<BoardSession> session_;  // last: it closes the boards before its transport goes
    ListedBoardInfo listed_;
};
