// The tolvane module: the evaluation board from Python, on the board library tolvane-cli runs on.
#include <pybind11/pybind11.h>

#include "python/arguments.h"
#include "python/board.h"
#include "python/failures.h"
#include "python/open_board.h"
#include "python/reading_forms.h"
#include "python/readings.h"
#include "python/several_boards.h"

namespace {

constexpr char kModuleDoc[] = R"(The Tolvane evaluation board from Python.

    import tolvane
    with tolvane.open(demo=True) as board:    # or open(), open(board=1), open(board="/dev/hidraw3")
        board.set(power=True, range="4k", resolution=16, mode="d1")
        a = board.collect(interval_ms=100, count=50, output="run.csv")
        print(a["lux"].mean())

Failures raise tolvane.Error or a class below it, with the line tolvane-cli prints for them.
The calls release the interpreter lock while the board works, so other threads run meanwhile, and
boards open on two threads work at once. The simulated board (demo=True) keeps its registers between
runs in ~/.cache/tolvane-cli/, as tolvane-cli --demo does.)";

constexpr char kBoardsDoc[] = R"(boards() -> list[BoardInfo]

The evaluation boards on USB, in the order open(board=index) counts them; empty when there are none.)";

constexpr char kOpenDoc[] = R"(open(board=None, *, demo=False, light=None) -> Board

Opens a board: the first that opens, or the one `board` names, its index (int), its path or its
serial number (str) as boards() lists them. demo=True opens the simulated board instead: its realistic timing and a
moving light, or a constant `light` in lux (0 to 1000000); one at a time. Use it in a `with`
block, or close() it.

Raises NoBoardError, BoardPermissionError, or tolvane.Error while the simulated board is open
already.)";

constexpr char kCollectBoardsDoc[] =
    R"(collect_boards(boards="all", *, interval_ms=100, count=None, duration_s=None, output=None, demo=False, light=None) -> numpy.ndarray

Collects from several boards on one schedule: reading k of every board is due at the same instant,
each board on a thread of its own, so N boards take N times the readings. `boards` is "all" (every
board that opens) or a list of boards as open() takes them. Returns one structured array whose first
field, board, names the board that took the row (its serial number, else its path), then the fields
of Board.collect(), rows in the order taken: the rows of tolvane-cli collect with several boards,
which output= also writes as they come. demo=N runs on N simulated boards (serial numbers DEMO-1 ...).

A board lost during the run keeps its rows and the others go on to the end; then LinkLostError names
it, with every row taken as its `readings` attribute. Ctrl-C ends the run within one interval with
KeyboardInterrupt, its `readings` attribute holding the rows taken.)";

constexpr char kBoardDoc[] = R"(An evaluation board opened by tolvane.open().

Each call blocks until the board has answered (up to 6 s an exchange) with the interpreter lock
released; calls from two threads take turns. After close(), or outside its `with`, a call raises
ValueError; a run that another thread's close() ends raises it too, with the rows taken as its
`readings`.)";

constexpr char kReadDoc[] = R"(read(first=0, count=None) -> dict[str, int]

Reads R[first] to R[first + count - 1] in one transfer (count None: up to R7) and returns them as
{"R0": 0x80, "R1": 0x04, ...}.)";

constexpr char kWriteDoc[] = R"(write(reg, value) -> int

Writes `value` (0 to 255) to R`reg` (0 to 3), reads it back and returns what the chip holds. Raises
ReadBackError when that differs from what was written (R1's interrupt flag aside).)";

constexpr char kSetDoc[] =
    R"(set(*, range=None, resolution=None, mode=None, power=None, persistence=None, high=None, low=None) -> dict[str, int]

Changes only the fields named: reads R0 to R3, writes each register a named field is in, and returns
R0 to R3 as read back.

range: "1k", "4k", "16k" or "64k"; resolution: 16, 12, 8 or 4 bits; mode: "d1", "d2" or "d1-d2";
power: True (ADC on) or False (powered down); persistence: 1, 4, 8 or 16 integrations;
high: 256 to 65280, low: 0 or 256 to 65280, interrupt thresholds as counts. The chip holds
thresholds in steps of 256: others are rounded down, with a warning.)";

constexpr char kClearInterruptDoc[] = R"(clear_interrupt() -> None

Sends the chip's clear-interrupt command.)";

constexpr char kReadingsDoc[] =
    R"(readings(*, interval_ms=100, count=None, duration_s=None) -> Iterator[Reading]

Takes readings on a schedule that does not drift (reading k is due k x interval_ms after the first;
interval_ms=0: each as soon as the one before is taken) and yields each as a Reading when it is
taken, until `count` readings or `duration_s` seconds, or without either for as long as the loop
goes on. Each carries the range, resolution and mode the chip held at the first. Ctrl-C raises
KeyboardInterrupt within one interval.)";

constexpr char kCollectDoc[] =
    R"(collect(*, interval_ms=100, count=None, duration_s=None, output=None) -> numpy.ndarray

Takes readings on readings()' schedule and returns them as one numpy structured array with the
columns of tolvane-cli's CSV: time (datetime64[ms], local), elapsed_ms, seq, count, lux (NaN for D2
alone), range_lux, resolution_bits, mode. With `output` (a path) it also writes the CSV there, as
tolvane-cli collect --output does, each row the moment it is taken.

Without count or duration_s it runs until Ctrl-C. A failure, a file that takes no more rows
(OSError), or Ctrl-C (KeyboardInterrupt, within one interval) ends the run with an exception whose
`readings` attribute holds the readings taken; every one of them is in `output` already.)";

py::object serialOrNone(const ListedBoardInfo& board) {
    return board.serial.isEmpty() ? py::object(py::none()) : py::object(py::str(board.serial.toStdString()));
}

// The boards `demo` asks for: that many simulated boards, claimed, or the real ones.
std::unique_ptr<OpenBoard> boardsOn(const py::handle& demo, const py::handle& light) {
    const int simulated = demoBoards(demo);
    const std::optional<double> lux = realNumber(light, "light", 0, 1e6, "lux from 0 to 1000000");
    if (lux && simulated == 0) throw py::value_error("light needs demo=True.");
    std::optional<std::unique_ptr<QLockFile>> claim;
    if (simulated > 0 && !(claim = DemoBoard::claim()))
        raise(
            moduleError("The simulated board is open already, in this program or another: close it first."));
    return std::make_unique<OpenBoard>(simulated, lux, claim ? std::move(*claim) : nullptr);
}

py::object openBoard(const py::handle& choice, const py::handle& demo, const py::handle& light) {
    const QString chosen = choice.is_none() ? QString() : boardChoice(choice, "board");
    std::unique_ptr<OpenBoard> board = boardsOn(demo, light);
    if (const std::optional<BoardFailure> failure = board->open(chosen)) raise(exceptionFor(*failure));
    const ListedBoardInfo& listed = board->listed();
    const py::object info = py::module_::import("tolvane").attr("BoardInfo")(
        listed.index, listed.path.toStdString(), serialOrNone(listed), "ok");
    return py::cast(std::make_unique<Board>(std::move(board), info));
}

py::list boards() {
    const py::object boardInfo = py::module_::import("tolvane").attr("BoardInfo");
    py::list listed;
    for (const ListedBoardInfo& board : listBoards())
        listed.append(boardInfo(board.index, board.path.toStdString(), serialOrNone(board),
                                board.usable ? "ok" : "no permission"));
    return listed;
}

void addBoardClass(py::module_& module) {
    const auto none = py::none();
    py::class_<Board>(module, "Board", kBoardDoc)
        .def("read", &Board::read, kReadDoc, py::arg("first") = 0, py::arg("count") = none)
        .def("write", &Board::write, kWriteDoc, py::arg("reg"), py::arg("value"))
        .def("set", &Board::set, kSetDoc, py::kw_only(), py::arg("range") = none,
             py::arg("resolution") = none, py::arg("mode") = none, py::arg("power") = none,
             py::arg("persistence") = none, py::arg("high") = none, py::arg("low") = none)
        .def("clear_interrupt", &Board::clearInterrupt, kClearInterruptDoc)
        .def(
            "readings",
            [](const py::object& self, const py::handle& intervalMs, const py::handle& count,
               const py::handle& durationS) {
                const RunPlan plan = runPlan(intervalMs, count, durationS);
                if (self.cast<Board&>().closed()) throw py::value_error(kBoardClosed);
                return ReadingIterator(self, plan);
            },
            kReadingsDoc, py::kw_only(), py::arg("interval_ms") = 100, py::arg("count") = none,
            py::arg("duration_s") = none)
        .def(
            "collect",
            [](Board& self, const py::handle& intervalMs, const py::handle& count,
               const py::handle& durationS, const py::handle& output) {
                const RunPlan plan = runPlan(intervalMs, count, durationS);
                return collect(self, plan, output.is_none() ? QString() : path(output, "output"));
            },
            kCollectDoc, py::kw_only(), py::arg("interval_ms") = 100, py::arg("count") = none,
            py::arg("duration_s") = none, py::arg("output") = none)
        .def("close", &Board::close,
             "close() -> None\n\nCloses the board; closing it again does nothing. The simulated board "
             "keeps its registers for the next program: OSError where they cannot be kept.")
        .def_property_readonly("closed", &Board::closed, "True once close() has been called.")
        .def_property_readonly("info", &Board::info, "The board open, as boards() lists it (a BoardInfo).")
        .def(
            "__enter__",
            [](Board& self) -> Board& {
                if (self.closed()) throw py::value_error(kBoardClosed);
                return self;
            },
            "Returns the board, for `with tolvane.open() as board:`.", py::return_value_policy::reference)
        .def(
            "__exit__", [](Board& self, const py::args&) { self.close(); },
            "Closes the board at the end of its `with` block, however the block ends.")
        .def("__repr__", [](const Board& self) {
            return "<tolvane.Board " + py::str(self.info().attr("path")).cast<std::string>() +
                   (self.closed() ? " (closed)>" : ">");
        });
    py::class_<ReadingIterator>(module, "ReadingIterator", "The readings of board.readings(), one per step.")
        .def(
            "__iter__", [](py::object self) { return self; }, "Returns the iterator itself.")
        .def("__next__", &ReadingIterator::next, "Waits for the next reading and returns it.");
}

}  // namespace

PYBIND11_MODULE(tolvane, module) {
    py::options options;
    options.disable_function_signatures();  // each docstring gives its own, as the .pyi writes it
    module.doc() = kModuleDoc;
    module.attr("__version__") = TOLVANE_VERSION;
    addExceptionClasses(module);
    addRowClasses(module);
    module.def("boards", &boards, kBoardsDoc);
    module.def(
        "collect_boards",
        [](const py::handle& boards, const py::handle& intervalMs, const py::handle& count,
           const py::handle& durationS, const py::handle& output, const py::handle& demo,
           const py::handle& light) {
            QStringList choices;
            if (PyUnicode_Check(boards.ptr()) && py::str(boards).cast<std::string>() == "all") {
                choices << "all";
            } else if (PyList_Check(boards.ptr()) || PyTuple_Check(boards.ptr())) {
                for (const py::handle board : boards) choices << boardChoice(board, "boards");
            } else {
                throw py::type_error("boards must be \"all\" or a list of boards");
            }
            if (choices.isEmpty()) throw py::value_error("boards names no board.");
            const RunPlan plan = runPlan(intervalMs, count, durationS);
            const QString file = output.is_none() ? QString() : path(output, "output");
            const std::unique_ptr<OpenBoard> base = boardsOn(demo, light);
            return collectBoards(*base, choices, plan, file);
        },
        kCollectBoardsDoc, py::arg("boards") = "all", py::kw_only(), py::arg("interval_ms") = 100,
        py::arg("count") = py::none(), py::arg("duration_s") = py::none(), py::arg("output") = py::none(),
        py::arg("demo") = false, py::arg("light") = py::none());
    module.def("open", &openBoard, kOpenDoc, py::arg("board") = py::none(), py::kw_only(),
               py::arg("demo") = false, py::arg("light") = py::none());
    addBoardClass(module);
}
