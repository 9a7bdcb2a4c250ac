# The tolvane module as a script uses it, on the simulated board: each test keeps that board's registers
# in a temporary folder of its own, and compares what it can with what tolvane-cli does.
import _thread
import os
import subprocess
import threading
import time

import numpy as np
import pytest

import tolvane

HEADER = "time,elapsed_ms,seq,count,lux,range_lux,resolution_bits,mode"


@pytest.fixture(autouse=True)
def own_cache(tmp_path, monkeypatch):
    monkeypatch.setenv("HOME", str(tmp_path))
    monkeypatch.setenv("XDG_CACHE_HOME", str(tmp_path / "cache"))


@pytest.fixture
def board():
    with tolvane.open(demo=True, light=300.0) as opened:
        yield opened


def tool_says(*arguments):
    """tolvane-cli's message for a failure, without its "tolvane-cli: "."""
    done = subprocess.run([os.environ["TOLVANE_CLI"], *arguments], capture_output=True, text=True, check=False)
    return done.stderr.strip().removeprefix("tolvane-cli: ")


@pytest.mark.parametrize(
    "call, answer",
    [
        (lambda b: b.read(), {"R0": 0, "R1": 0, "R2": 0xFF, "R3": 0, "R4": 0, "R5": 0, "R6": 0, "R7": 0}),
        (lambda b: b.read(first=2, count=2), {"R2": 0xFF, "R3": 0}),
        (lambda b: b.write(1, 0x04), 0x04),
        (lambda b: b.set(range="4k", resolution=12, mode="d1", power=True, persistence=4, high=1024, low=0),
         {"R0": 0x81, "R1": 0x05, "R2": 0x04, "R3": 0}),
        (lambda b: b.clear_interrupt(), None),
    ],
)
def test_each_call_answers_as_the_chip_holds_its_registers(board, call, answer):
    assert call(board) == answer


@pytest.mark.parametrize("choice", [None, 0, "sim:0", "DEMO-1"])
def test_a_board_is_chosen_by_its_index_path_or_serial_number(choice):
    with tolvane.open(choice, demo=True) as board:
        assert (board.info, board.closed, repr(board)) == (
            tolvane.BoardInfo(0, "sim:0", "DEMO-1", "ok"), False, "<tolvane.Board sim:0>")


def test_what_set_holds_is_there_for_the_next_program_as_tolvane_cli_keeps_it():
    with tolvane.open(demo=True) as board:
        board.set(range="16k", power=True)
    assert subprocess.run([os.environ["TOLVANE_CLI"], "--demo", "read", "0", "2"], capture_output=True,
                          text=True, check=True).stdout == "R0 80\nR1 08\n"


@pytest.mark.parametrize("mode, count, lux", [("d1", 307, 299.8046875), ("d2", 77, None)])
def test_collect_gives_the_csv_columns_as_an_array_and_writes_the_same_rows(board, tmp_path, mode, count, lux):
    board.set(range="4k", resolution=12, mode=mode, power=True)
    out = tmp_path / "run.csv"
    a = board.collect(interval_ms=2, count=4, output=out)

    assert a.dtype == np.dtype([("time", "M8[ms]"), ("elapsed_ms", "<i8"), ("seq", "<i8"), ("count", "<i4"),
                                ("lux", "<f8"), ("range_lux", "<i4"), ("resolution_bits", "u1"), ("mode", "<U5")])
    assert list(a["seq"]) == [0, 1, 2, 3] and a["count"][-1] == count
    assert a["lux"][-1] == lux if lux else np.isnan(a["lux"]).all()
    lines = out.read_bytes().decode().split("\r\n")
    assert lines[0] == HEADER and lines[-1] == "" and len(lines) == 6
    for row, line in zip(a, lines[1:]):
        shown = "" if lux is None else f"{row['lux']:.3f}"
        assert line == (f"{np.datetime_as_string(row['time'])},{row['elapsed_ms']},{row['seq']},{row['count']},"
                        f"{shown},4000,12,{mode.upper()}")

    readings = list(board.readings(interval_ms=2, count=2))
    assert [(r.seq, r.count, r.lux, r.range_lux, r.resolution_bits, r.mode) for r in readings] == [
        (seq, count, lux, 4000, 12, mode.upper()) for seq in (0, 1)
    ]
    assert readings[1].elapsed_ms >= 2 and readings[0].time <= readings[1].time


def test_collect_boards_gives_the_tools_rows_led_by_the_board(tmp_path):
    out = tmp_path / "boards.csv"
    a = tolvane.collect_boards(["DEMO-2", 0], demo=3, light=300.0, interval_ms=0, count=3, output=out)
    rows = [line.split(",") for line in out.read_text().splitlines()]
    assert ",".join(rows[0]) == "board," + HEADER and a.dtype.names == tuple(rows[0])
    assert [row[0] for row in rows[1:]] == list(a["board"])
    assert {board: list(a["seq"][a["board"] == board]) for board in ("DEMO-1", "DEMO-2")} == {
        "DEMO-1": [0, 1, 2], "DEMO-2": [0, 1, 2]}


def test_a_generator_stopped_early_leaves_the_board_free(board):
    for reading in board.readings(interval_ms=1):
        if reading.seq == 2:
            break
    assert board.write(3, 0x01) == 0x01
    assert len(board.collect(interval_ms=0, duration_s=0.01)) >= 1


@pytest.mark.parametrize("run", [lambda b, out: list(b.readings(interval_ms=150, count=8)),
                                 lambda b, out: b.collect(interval_ms=150, count=8, output=out)])
@pytest.mark.parametrize("stop, error", [(lambda b: _thread.interrupt_main(), KeyboardInterrupt),
                                         (lambda b: b.close(), ValueError)])
def test_ctrl_c_or_a_close_ends_a_run_within_one_interval_with_every_row_taken_in_the_file(
        board, tmp_path, run, stop, error):
    out = tmp_path / "run.csv"
    pressed = []
    timer = threading.Timer(0.2, lambda: (pressed.append(time.monotonic()), stop(board)))
    timer.start()
    with pytest.raises(error) as stopped:
        run(board, out)
    assert time.monotonic() - pressed[0] < 0.15
    if out.exists():
        assert len(out.read_text().splitlines()) == 1 + len(stopped.value.readings) >= 2


def test_calls_from_two_threads_take_turns_and_let_python_run_meanwhile(board):
    results, longest_pause = {}, 0.0
    workers = [threading.Thread(target=lambda: results.update(collect=board.collect(interval_ms=2, count=50))),
               threading.Thread(target=lambda: results.update(read=board.read(first=2, count=1)))]
    for worker in workers:
        worker.start()
    last = time.monotonic()
    while any(worker.is_alive() for worker in workers):
        longest_pause, last = max(longest_pause, time.monotonic() - last), time.monotonic()
    assert len(results["collect"]) == 50 and results["read"] == {"R2": 0xFF}
    assert longest_pause < 0.05


@pytest.mark.parametrize(
    "call",
    [lambda b: b.read(), lambda b: b.write(0, 0), lambda b: b.set(power=True), lambda b: b.clear_interrupt(),
     lambda b: b.readings(), lambda b: b.collect(count=1), lambda b: b.__enter__()],
)
def test_a_closed_board_says_so(call):
    board = tolvane.open(demo=True)
    steps = board.readings(interval_ms=0)
    board.close()
    board.close()
    for used in (lambda: call(board), lambda: next(steps)):
        with pytest.raises(ValueError, match="^The board is closed.$"):
            used()
    assert board.closed and repr(board) == "<tolvane.Board sim:0 (closed)>"


@pytest.mark.parametrize(
    "call, error, text",
    [
        (lambda b: tolvane.open(board=1.5), TypeError,
         "board must be an index (int) or a path or serial number (str), not float"),
        (lambda b: tolvane.open(light=5), ValueError, "light needs demo=True."),
        (lambda b: tolvane.open(demo=True, light=-1), ValueError, "Invalid value -1 for light: lux from 0 to 1000000."),
        (lambda b: tolvane.open(demo=True), tolvane.Error,
         "The simulated board is open already, in this program or another: close it first."),
        (lambda b: b.read(first=8), ValueError, "Invalid value 8 for first: a register from 0 to 7."),
        (lambda b: b.read(first=6, count=3), ValueError, "Invalid value 3 for count: 1 to 2 from R6."),
        (lambda b: b.write(4, 0), ValueError, "Invalid value 4 for reg: a register from 0 to 3."),
        (lambda b: b.write(0, True), TypeError, "value must be an int, not bool"),
        (lambda b: b.set(), ValueError, "Name at least one field to set."),
        (lambda b: b.set(range="2k"), ValueError, "Invalid value '2k' for range: one of 1k, 4k, 16k, 64k."),
        (lambda b: b.set(resolution="16"), TypeError, "resolution must be an int, not str"),
        (lambda b: b.set(low=70000), ValueError, "Invalid value 70000 for low: 0 or 256 to 65280."),
        (lambda b: b.collect(count=1, duration_s=1), ValueError, "count and duration_s cannot be given together."),
        (lambda b: b.collect(count=0), ValueError, "Invalid value 0 for count: a whole number from 1."),
        (lambda b: b.readings(interval_ms=-1), ValueError,
         "Invalid value -1 for interval_ms: milliseconds from 0 to 86400000."),
        (lambda b: b.collect(output=3), TypeError, "output must be a str or an os.PathLike, not int"),
    ],
)
def test_a_bad_argument_is_named(board, call, error, text):
    with pytest.raises(error) as raised:
        call(board)
    assert str(raised.value) == text


def test_a_threshold_the_chip_cannot_hold_is_set_rounded_with_a_warning(board):
    with pytest.warns(UserWarning, match="^high=1000 is set as 768: the chip holds multiples of 256.$"):
        assert board.set(high=1000)["R2"] == 0x03


def collect_once(output):
    with tolvane.open(demo=True) as board:
        board.collect(count=2, output=output)


def set_where_nothing_keeps_it(**fields):
    """Sets fields on the simulated board whose register file's name a folder has taken."""
    os.makedirs(os.path.join(os.environ["XDG_CACHE_HOME"], "tolvane-cli", "demo-board"))
    with tolvane.open(demo=True) as board:
        board.set(**fields)


@pytest.mark.parametrize(
    "call, error, tool",
    [
        (lambda: tolvane.open(board=3, demo=True), tolvane.NoBoardError, ["--demo", "--board", "3", "read"]),
        (lambda: tolvane.open(board="sim:1", demo=True), tolvane.NoBoardError, ["--demo", "--board", "sim:1", "read"]),
        (lambda: collect_once(output="/nonexistent/run.csv"), OSError,
         ["--demo", "collect", "--count", "2", "--output", "/nonexistent/run.csv"]),
        (lambda: tolvane.collect_boards([0, "sim:0"], demo=2), ValueError,
         ["--demo-boards", "2", "--board", "0", "--board", "sim:0", "read"]),
        (lambda: set_where_nothing_keeps_it(range="64k"), OSError, ["--demo", "set", "--range", "64k"]),
    ],
)
def test_a_failure_is_raised_with_tolvane_clis_line(call, error, tool):
    with pytest.raises(error) as raised:
        call()
    assert str(raised.value) == tool_says(*tool)


@pytest.mark.parametrize(
    "name, bases",
    [("NoBoardError", ()), ("BoardPermissionError", (PermissionError,)), ("NotAcknowledgedError", ()),
     ("ReadBackError", ()), ("LinkLostError", ())],
)
def test_each_failure_has_a_class_below_tolvane_error(name, bases):
    assert all(issubclass(getattr(tolvane, name), base) for base in (tolvane.Error, *bases))


def test_everything_says_what_it_does():
    public = [getattr(tolvane, n) for n in dir(tolvane) if not n.startswith("_")]
    public += [getattr(tolvane.Board, n) for n in dir(tolvane.Board) if not n.startswith("_")]
    assert all(item.__doc__ for item in public if callable(item) or isinstance(item, property))
