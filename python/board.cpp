#include "python/board.h"

#include "chip/chip_map.h"
#include "python/arguments.h"
#include "python/failures.h"

namespace {

py::dict registersDict(const Registers& registers) {
    py::dict values;
    for (std::size_t i = 0; i < registers.values.size(); ++i)
        values[py::str("R" + std::to_string(registers.first + static_cast<int>(i)))] = registers.values[i];
    return values;
}

// The registers read; or the failure raised, a read-back that differs with the registers as read.
py::dict registersOrRaise(const RegisterOutcome& outcome) {
    if (!outcome.failure) return registersDict(outcome.registers);
    const py::object exception = exceptionFor(*outcome.failure);
    if (!outcome.registers.values.empty()) exception.attr("registers") = registersDict(outcome.registers);
    raise(exception);
}

}  // namespace

Board::Board(std::unique_ptr<OpenBoard> open, py::object info)
    : open_(std::move(open)), info_(std::move(info)) {}

void Board::refuseReentry() const {
    if (holder_ == std::this_thread::get_id())
        throw std::runtime_error("The board is busy with a call this thread has not finished.");
}

py::dict Board::read(const py::handle& first, const py::handle& count) {
    const auto from = static_cast<std::uint8_t>(wholeNumber(
        first, "first", 0, kRegisterCount - 1, QString("a register from 0 to %1").arg(kRegisterCount - 1)));
    const int left = kRegisterCount - from;
    const auto many = static_cast<std::uint8_t>(
        count.is_none()
            ? left
            : wholeNumber(count, "count", 1, left, QString("1 to %1 from R%2").arg(left).arg(from)));
    return registersOrRaise(exclusive([&](OpenBoard& board) { return board.session().read(from, many); }));
}

int Board::write(const py::handle& reg, const py::handle& value) {
    const auto index =
        static_cast<std::uint8_t>(wholeNumber(reg, "reg", 0, kWritableCount - 1, "a register from 0 to 3"));
    const auto byte = static_cast<std::uint8_t>(wholeNumber(value, "value", 0, 255, "a byte, 0 to 255"));
    const RegisterOutcome outcome =
        exclusive([&](OpenBoard& board) { return board.session().write(index, byte); });
    registersOrRaise(outcome);
    return outcome.registers.values.front();
}

py::dict Board::set(const py::handle& range, const py::handle& resolution, const py::handle& mode,
                    const py::handle& power, const py::handle& persistence, const py::handle& high,
                    const py::handle& low) {
    const NamedFields fields = namedFields(range, resolution, mode, power, persistence, high, low);
    const py::object warn = py::module_::import("warnings").attr("warn");
    for (const QString& note : fields.notes) warn(note.toStdString(), py::arg("stacklevel") = 2);
    return registersOrRaise(exclusive([&](OpenBoard& board) { return board.session().set(fields.changes); }));
}

void Board::clearInterrupt() {
    if (const std::optional<BoardFailure> failure =
            exclusive([](OpenBoard& board) { return board.session().clearInterrupt(); }))
        raise(exceptionFor(*failure));
}

void Board::close() {
    refuseReentry();
    closing_ = true;
    std::unique_ptr<OpenBoard> closed;
    {
        const py::gil_scoped_release free;
        const std::lock_guard lock(mutex_);
        closed = std::move(open_);
    }
    const std::optional<QString> unkept = closed ? closed->keepDemoRegisters() : std::nullopt;
    // Closed as it was opened, with the interpreter lock: hidapi keeps some state for the whole process.
    closed.reset();
    if (unkept) raise(py::reinterpret_borrow<py::object>(PyExc_OSError)(unkept->toStdString()));
}
