"""The tolvane module's collect() on the realistic simulated board, against the board and the tool.

- share of the exchange rate: the board's own exchange (one two-register read, as tolvane-bench measures
  it) over the time a reading takes in collect(interval_ms=0); at least 0.95;
- overhead: the processor time a reading takes in collect() minus what it takes in tolvane-cli --demo
  collect, both at interval 0 on the same simulated board; at most 5 us. The readings follow one
  another, so what either adds to a reading's work it adds to its time; the processor time, unlike the
  elapsed time of readings paced by the simulated board's exchanges, does not vary by tens of
  microseconds with what else the machine runs. Each is the difference between a long and a short run,
  so that starting the program and opening the board cancel out;
- bytes a reading of the array collect() returns for a million readings; at most 64.

Run by `make bench` as: /usr/bin/python3 bench/bench_python.py BUILD_DIR
"""

import json
import os
import resource
import statistics
import subprocess
import sys
import tempfile
import time

SHORT, LONG = 500, 2500  # elapsed_ms over LONG readings resolves a reading's time to half a microsecond
ROUNDS = 3


def tool_run(build, count):
    """The elapsed ms a reading takes, and the processor seconds of the whole run; so module_run()."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    subprocess.run([f"{build}/tolvane-cli", "--demo", "--light", "300", "collect", "--interval", "0",
                    "--count", str(count), "--output", csv_path("tool")], check=True)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpu = after.ru_utime + after.ru_stime - before.ru_utime - before.ru_stime
    with open(csv_path("tool"), encoding="ascii") as rows:
        return int(rows.readlines()[-1].split(",")[1]) / (count - 1), cpu


def csv_path(name):
    return os.path.join(os.environ["HOME"], f"{name}.csv")


def module_run(tolvane, count):
    with tolvane.open(demo=True, light=300.0) as board:
        before = time.process_time()
        elapsed = board.collect(interval_ms=0, count=count, output=csv_path("module"))["elapsed_ms"]
        cpu = time.process_time() - before
    return int(elapsed[-1]) / (count - 1), cpu


def per_reading(run):
    """A reading's elapsed ms in a long run, and its processor us between a short and a long run."""
    short, long_ = run(SHORT), run(LONG)
    return long_[0], 1e6 * (long_[1] - short[1]) / (LONG - SHORT)


def board_exchange_ms(build):
    report = subprocess.run([f"{build}/bench/tolvane-bench", "--benchmark_filter=BM_CliRateAtIntervalZero",
                             "--benchmark_format=json"], capture_output=True, text=True, check=True).stdout
    return json.loads(report)["benchmarks"][0]["exchange_ms"]


def bytes_a_reading(tolvane, count):
    """The array's rows are its dtype's size each, held as the run made them; a million readings at
    interval 0 take the realistic board most of an hour, so the share of the array's fixed part is
    taken from a short run."""
    with tolvane.open(demo=True, light=300.0) as board:
        array = board.collect(interval_ms=0, count=100)
    assert not array.flags.owndata and array.base is not None  # the rows, not a copy of them
    return (array.itemsize * count + sys.getsizeof(array)) / count


def main(build):
    os.environ["HOME"] = os.environ["XDG_CACHE_HOME"] = tempfile.mkdtemp()  # not the user's simulated board
    sys.path.insert(0, f"{build}/python")
    import tolvane

    with tolvane.open(demo=True) as board:
        board.set(power=True, range="4k", resolution=16, mode="d1")
    tool = [per_reading(lambda count: tool_run(build, count)) for _ in range(ROUNDS)]
    module = [per_reading(lambda count: module_run(tolvane, count)) for _ in range(ROUNDS)]
    exchange = board_exchange_ms(build)
    median = {name: statistics.median(f[column] for f in runs) for name, runs, column in [
        ("tool_reading_ms", tool, 0), ("module_reading_ms", module, 0),
        ("tool_cpu_us_a_reading", tool, 1), ("module_cpu_us_a_reading", module, 1)]}
    figures = {
        "exchange_ms": exchange,
        **median,
        "share_of_exchange_rate": exchange / median["module_reading_ms"],
        "overhead_us_a_reading": median["module_cpu_us_a_reading"] - median["tool_cpu_us_a_reading"],
        "bytes_a_reading_of_1000000": bytes_a_reading(tolvane, 1_000_000),
    }
    for name, value in figures.items():
        print(f"{name:28} {value:10.4f}")
    met = (figures["share_of_exchange_rate"] >= 0.95 and figures["overhead_us_a_reading"] <= 5
           and figures["bytes_a_reading_of_1000000"] <= 64)
    print("targets met" if met else "TARGETS MISSED: share >= 0.95, overhead <= 5 us, <= 64 bytes a reading")
    return 0 if met else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1] if len(sys.argv) > 1 else "build"))
