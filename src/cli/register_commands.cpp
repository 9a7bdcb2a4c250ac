#include "cli/register_commands.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <array>

#include "chip/register_bits.h"
#include "common/hex.h"

namespace {

constexpr std::uint8_t kClearInterruptCommand = 0x40;
constexpr std::uint8_t kWritableCount = 4;

void print(std::ostream& out, const QString& text) {
    out << text.toStdString();
}

void printJson(std::ostream& out, const QJsonObject& object) {
    out << QJsonDocument(object).toJson(QJsonDocument::Compact).toStdString() << '\n';
}

QString registerName(int reg) {
    return "R" + QString::number(reg);
}

// "R0 80" a line, or {"R0":"80",...}.
void printRegisters(std::ostream& out, int first, const std::vector<std::uint8_t>& values, bool json) {
    QJsonObject object;
    QString lines;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const QString name = registerName(first + static_cast<int>(i));
        object[name] = Hex2(values[i]);
        lines += name + " " + Hex2(values[i]) + "\n";
    }
    if (json) {
        printJson(out, object);
    } else {
        print(out, lines);
    }
}

// Empty when the register holds what was written to it.
QString mismatch(int reg, std::uint8_t written, std::uint8_t read) {
    if ((written & writtenBitsOf(reg)) == (read & writtenBitsOf(reg))) return {};
    return QString("%1 reads back %2, not %3 as written.").arg(registerName(reg), Hex2(read), Hex2(written));
}

// R0..R3 with the named fields changed, and which registers hold one.
struct Changed {
    std::array<std::uint8_t, kWritableCount> values;
    std::array<bool, kWritableCount> named{};
};

Changed changed(const SetCommand& set, const std::vector<std::uint8_t>& current) {
    Changed result{{current[0], current[1], current[2], current[3]}};
    std::uint8_t& r0 = result.values[0];
    std::uint8_t& r1 = result.values[1];
    if (set.mode) r0 = commandWithMeasurement(r0, *set.mode);
    if (set.resolution) r0 = commandWithResolution(r0, *set.resolution);
    if (set.powerDown) r0 = commandWithPowerDown(r0, *set.powerDown);
    if (set.range) r1 = controlWithRange(r1, *set.range);
    if (set.persistence) r1 = controlWithPersistence(r1, *set.persistence);
    if (set.highLimit) result.values[2] = *set.highLimit;
    if (set.lowLimit) result.values[3] = *set.lowLimit;
    result.named = {set.mode || set.resolution || set.powerDown, set.range || set.persistence,
                    set.highLimit.has_value(), set.lowLimit.has_value()};
    return result;
}

}  // namespace

std::optional<Failure> listBoards(const BoardsCommand& command, BoardSession& board, std::ostream& out,
                                  std::ostream& err) {
    if (std::optional<Failure> failure = board.search()) return failure;
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
    std::vector<std::uint8_t> values;
    if (std::optional<Failure> failure = board.read(command.first, command.count, values)) return failure;
    printRegisters(out, command.first, values, command.json);
    return std::nullopt;
}

std::optional<Failure> writeRegister(const WriteCommand& command, BoardSession& board, std::ostream& out) {
    std::vector<std::uint8_t> readBack;
    if (std::optional<Failure> failure = board.write(command.reg, command.value)) return failure;
    if (std::optional<Failure> failure = board.read(command.reg, 1, readBack)) return failure;
    printRegisters(out, command.reg, readBack, command.json);
    const QString differs = mismatch(command.reg, command.value, readBack[0]);
    if (!differs.isEmpty()) return Failure{ExitChip, differs};
    return std::nullopt;
}

std::optional<Failure> setFields(const SetCommand& command, BoardSession& board, std::ostream& out,
                                 std::ostream& err) {
    for (const QString& note : command.notes) print(err, "tolvane-cli: " + note + "\n");
    std::vector<std::uint8_t> current;
    if (std::optional<Failure> failure = board.read(0, kWritableCount, current)) return failure;
    const Changed target = changed(command, current);
    for (std::uint8_t reg = 0; reg < kWritableCount; ++reg) {
        if (!target.named[reg]) continue;
        if (std::optional<Failure> failure = board.write(reg, target.values[reg])) return failure;
    }
    std::vector<std::uint8_t> readBack;
    if (std::optional<Failure> failure = board.read(0, kWritableCount, readBack)) return failure;
    printRegisters(out, 0, readBack, command.json);
    QStringList differs;
    for (int reg = 0; reg < kWritableCount; ++reg) {
        if (target.named[reg]) differs << mismatch(reg, target.values[reg], readBack[reg]);
    }
    differs.removeAll(QString());
    if (!differs.isEmpty()) return Failure{ExitChip, differs.join(' ')};
    return std::nullopt;
}

std::optional<Failure> clearInterrupt(BoardSession& board) {
    // The command's data byte is R0's value, as the panel sends it.
    std::vector<std::uint8_t> r0;
    if (std::optional<Failure> failure = board.read(0, 1, r0)) return failure;
    return board.write(kClearInterruptCommand, r0[0]);
}
