"""The Tolvane evaluation board from Python, on the board library tolvane-cli runs on."""

import os
from datetime import datetime
from types import TracebackType
from typing import Iterator, Literal, NamedTuple

import numpy as np

__version__: str

class Error(Exception):
    """A board operation failed. str(error) is the line tolvane-cli prints for it."""

class NoBoardError(Error):
    """No evaluation board was found, or not the one asked for."""

class BoardPermissionError(Error, PermissionError):
    """The board is there, but the system does not let this user open it: install the board's udev rule."""

class NotAcknowledgedError(Error):
    """The chip did not answer on its I2C address."""

class ReadBackError(Error):
    """A register reads back other than was written to it."""

    registers: dict[str, int]

class LinkLostError(Error):
    """The board stopped answering, or was unplugged."""

class BoardInfo(NamedTuple):
    """A board as listed: its index and path (either chooses it in open()), its USB serial number
    (None where it gives none), and access: "ok", or "no permission"."""

    index: int
    path: str
    serial: str | None
    access: str

class Reading(NamedTuple):
    """One reading, with the columns of the readings CSV; lux is None for D2 alone."""

    time: datetime
    elapsed_ms: int
    seq: int
    count: int
    lux: float | None
    range_lux: int
    resolution_bits: int
    mode: str

class ReadingIterator(Iterator[Reading]):
    """The readings of board.readings(), one per step."""

    def __iter__(self) -> ReadingIterator: ...
    def __next__(self) -> Reading: ...

class Board:
    """An evaluation board opened by tolvane.open(); a ValueError once closed."""

    @property
    def closed(self) -> bool:
        """True once close() has been called."""

    @property
    def info(self) -> BoardInfo:
        """The board open, as boards() lists it."""

    def read(self, first: int = 0, count: int | None = None) -> dict[str, int]:
        """R[first] to R[first + count - 1] in one transfer, as {"R0": 0x80, ...}."""

    def write(self, reg: int, value: int) -> int:
        """Writes R[reg] (0 to 3), reads it back and returns what the chip holds."""

    def set(
        self,
        *,
        range: str | None = None,
        resolution: int | None = None,
        mode: str | None = None,
        power: bool | None = None,
        persistence: int | None = None,
        high: int | None = None,
        low: int | None = None,
    ) -> dict[str, int]:
        """Changes only the fields named and returns R0 to R3 as read back."""

    def clear_interrupt(self) -> None:
        """Sends the chip's clear-interrupt command."""

    def readings(
        self, *, interval_ms: int = 100, count: int | None = None, duration_s: float | None = None
    ) -> ReadingIterator:
        """Readings on a schedule that does not drift, each yielded as it is taken."""

    def collect(
        self,
        *,
        interval_ms: int = 100,
        count: int | None = None,
        duration_s: float | None = None,
        output: str | os.PathLike[str] | None = None,
    ) -> np.ndarray:
        """readings() as one numpy structured array with the CSV's columns; with output, the CSV too."""

    def close(self) -> None:
        """Closes the board; closing it again does nothing. The simulated board keeps its registers for
        the next program: OSError where they cannot be kept."""

    def __enter__(self) -> Board: ...
    def __exit__(
        self,
        exc_type: type[BaseException] | None,
        exc: BaseException | None,
        traceback: TracebackType | None,
    ) -> None: ...

def boards() -> list[BoardInfo]:
    """The evaluation boards on USB, in the order open(board=index) counts them."""

def open(board: int | str | None = None, *, demo: bool | int = False, light: float | None = None) -> Board:
    """Opens the first board, the one `board` names (index, path or serial number), or with demo=True
    the simulated board (demo=N: one of N simulated boards side by side)."""

def collect_boards(
    boards: Literal["all"] | list[int | str] = "all",
    *,
    interval_ms: int = 100,
    count: int | None = None,
    duration_s: float | None = None,
    output: str | os.PathLike[str] | None = None,
    demo: bool | int = False,
    light: float | None = None,
) -> np.ndarray:
    """Readings from several boards on one schedule, each board on a thread of its own, as one structured
    array led by a `board` field (serial number, else path), rows in the order taken."""
