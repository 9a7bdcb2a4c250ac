#include "board/board_session.h"

#include <QStringList>
#include <algorithm>

#include "boardlink/board_command.h"
#include "chip/chip_map.h"
#include "common/hex.h"

namespace {

QString registerName(int reg) {
    return "R" + QString::number(reg);
}

// Empty when the register holds what was written to it.
QString mismatch(int reg, std::uint8_t written, std::uint8_t read) {
    if ((written & writtenBitsOf(reg)) == (read & writtenBitsOf(reg))) return {};
    return QString("%1 reads back %2, not %3 as written.").arg(registerName(reg), Hex2(read), Hex2(written));
}

// A transfer's result as a failure, if it is one.
std::optional<BoardFailure> judged(std::int16_t result) {
    switch (result) {
        case TransferSuccess:
            return std::nullopt;
        case TransferNotAcknowledged:
            return BoardFailure{
                BoardFault::NotAcknowledged,
                QString("The chip did not acknowledge (I2C address %1).").arg(Hex2(kChipAddress))};
        case TransferNoAnswer:
            return BoardFailure{BoardFault::LinkLost,
                                checkConnectionText() +
                                    QString(" The board did not answer within %1 ms.").arg(kAnswerTimeoutMs)};
        default:
            return BoardFailure{
                BoardFault::LinkLost,
                checkConnectionText() + " The board took no request: it was unplugged or has stopped."};
    }
}

// The read-back, failed if a register differs from what was written to it.
RegisterOutcome checked(RegisterOutcome readBack, const WritableRegisters& written) {
    if (readBack.failure) return readBack;
    QStringList differs;
    const Registers& read = readBack.registers;
    for (std::size_t i = 0; i < read.values.size(); ++i) {
        const auto reg = static_cast<std::size_t>(read.first) + i;
        if (reg < written.size() && written[reg])
            differs << mismatch(static_cast<int>(reg), *written[reg], read.values[i]);
    }
    differs.removeAll(QString());
    if (!differs.isEmpty()) readBack.failure = BoardFailure{BoardFault::ReadBackDiffers, differs.join(' ')};
    return readBack;
}

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

std::optional<BoardFailure> BoardSession::search() {
    link_.FindBoard();
    if (listed().empty()) return BoardFailure{BoardFault::NoBoard, services_.dialogs.lastText};
    return std::nullopt;
}

std::optional<BoardFailure> BoardSession::open(const QString& choice) {
    if (std::optional<BoardFailure> failure = search()) return failure;
    // Nothing opened: the not-found box, with the permission line, as every board listed refused.
    if (services_.exit.requested()) return BoardFailure{BoardFault::NoPermission, services_.dialogs.lastText};
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
        return BoardFailure{
            BoardFault::NoBoard,
            QString("No board %1; `tolvane-cli boards` lists the boards there are.").arg(choice)};
    if (!chosen->opened) return BoardFailure{BoardFault::NoPermission, noPermissionText()};
    // The link's slots hold the boards that opened, in the order listed.
    link_.chooseBoard(static_cast<std::size_t>(
        std::count_if(boards.begin(), chosen, [](const BoardLink::ListedBoard& b) { return b.opened; })));
    return std::nullopt;
}

RegisterOutcome BoardSession::read(std::uint8_t first, std::uint8_t count) {
    std::vector<std::uint8_t> values(count, 0);
    // An answer that came after its request gave up would otherwise be taken for this one's.
    link_.DrainQueuedInput();
    if (std::optional<BoardFailure> failure = judged(link_.I2CRead(kChipAddress, count, 1, values, {first})))
        return {{}, failure};
    return {{first, std::move(values)}, std::nullopt};
}

RegisterOutcome BoardSession::write(std::uint8_t reg, std::uint8_t value) {
    if (std::optional<BoardFailure> failure = send(reg, value)) return {{}, failure};
    WritableRegisters written;
    if (reg < written.size()) written[reg] = value;
    return checked(read(reg, 1), written);
}

RegisterOutcome BoardSession::set(const FieldChanges& changes) {
    const RegisterOutcome current = read(0, kWritableCount);
    if (current.failure) return current;
    const std::vector<std::uint8_t>& held = current.registers.values;
    const WritableRegisters target = withFields({held[0], held[1], held[2], held[3]}, changes);
    for (std::uint8_t reg = 0; reg < kWritableCount; ++reg) {
        if (!target[reg]) continue;
        if (std::optional<BoardFailure> failure = send(reg, *target[reg])) return {{}, failure};
    }
    return checked(read(0, kWritableCount), target);
}

std::optional<BoardFailure> BoardSession::clearInterrupt() {
    const RegisterOutcome r0 = read(0, 1);
    if (r0.failure) return r0.failure;
    return send(kClearInterruptCommand, r0.registers.values[0]);
}

std::optional<BoardFailure> BoardSession::send(std::uint8_t address, std::uint8_t value) {
    link_.DrainQueuedInput();
    return judged(link_.I2CWrite(kChipAddress, 1, 1, {value}, {address}));
}
