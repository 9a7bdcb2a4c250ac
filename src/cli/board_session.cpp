#include "cli/board_session.h"

#include <algorithm>

#include "boardlink/board_command.h"

namespace {

constexpr std::uint8_t kChipAddress = 0x88;  // the Tolvane, in the 8-bit write form

}  // namespace

BoardSession::BoardSession(HidTransport& transport, Clock& clock, DueTimeWait& wait, Calendar& calendar)
    : services_(clock, wait, calendar), link_(transport, services_.services) {
    link_.setDevice("Tolvane", kChipAddress);
    link_.nameBoard();
    // The I2C transfers send byte 0 as the last exchange left it. In the windowed program the
    // console's board queries have set it to the report id long before; here no query comes first.
    link_.FillReportBuffer(0);
    link_.SetReportId();
}

BoardSession::~BoardSession() {
    link_.CloseBoards();
}

std::optional<Failure> BoardSession::search() {
    link_.FindBoard();
    if (listed().empty()) return Failure{ExitNoBoard, services_.dialogs.lastText};
    return std::nullopt;
}

std::optional<Failure> BoardSession::open(const QString& choice) {
    if (std::optional<Failure> failure = search()) return failure;
    // Nothing opened: the not-found box, with the permission line when a board refused.
    if (services_.exit.requested()) return Failure{ExitNoBoard, services_.dialogs.lastText};
    if (choice.isEmpty()) return std::nullopt;  // the first board that opened is current

    const std::vector<BoardLink::ListedBoard>& boards = listed();
    bool isIndex = false;
    const int index = choice.toInt(&isIndex);
    const auto chosen =
        isIndex
            ? (index >= 0 && index < static_cast<int>(boards.size()) ? boards.begin() + index : boards.end())
            : std::find_if(boards.begin(), boards.end(), [&](const BoardLink::ListedBoard& b) {
                  return QString::fromStdString(b.path) == choice;
              });
    if (chosen == boards.end())
        return Failure{ExitNoBoard,
                       QString("No board %1; `tolvane-cli boards` lists the boards there are.").arg(choice)};
    if (!chosen->opened) return Failure{ExitNoBoard, noPermissionText()};
    // The link's slots hold the boards that opened, in the order listed.
    link_.chooseBoard(static_cast<std::size_t>(
        std::count_if(boards.begin(), chosen, [](const BoardLink::ListedBoard& b) { return b.opened; })));
    return std::nullopt;
}

std::optional<Failure> BoardSession::read(std::uint8_t first, std::uint8_t count,
                                          std::vector<std::uint8_t>& values) {
    values.assign(count, 0);
    // An answer that came after its request gave up would otherwise be taken for this one's.
    link_.DrainQueuedInput();
    return judged(link_.I2CRead(kChipAddress, count, 1, values, {first}));
}

std::optional<Failure> BoardSession::write(std::uint8_t address, std::uint8_t value) {
    link_.DrainQueuedInput();
    return judged(link_.I2CWrite(kChipAddress, 1, 1, {value}, {address}));
}

std::optional<Failure> BoardSession::judged(std::int16_t result) const {
    switch (result) {
        case TransferSuccess:
            return std::nullopt;
        case TransferNotAcknowledged:
            return Failure{ExitChip, "The chip did not acknowledge (I2C address 88)."};
        case TransferNoAnswer:
            return Failure{ExitLinkLost,
                           checkConnectionText() +
                               QString(" The board did not answer within %1 ms.").arg(kAnswerTimeoutMs)};
        default:
            return Failure{ExitLinkLost, checkConnectionText() +
                                             " The board took no request: it was unplugged or has stopped."};
    }
}
