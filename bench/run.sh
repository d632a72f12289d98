#!/bin/sh
# Builds a Release tree in out/bench, runs the driver benchmarks and prints
# sqlite against sqlsim. Extra arguments go to the benchmark program, e.g.
# --benchmark_filter=sqlite. BENCH_MIN_TIME sets the seconds per benchmark,
# BENCH_REPETITIONS how often each runs.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/out/bench
# At -O3 g++ sees possible truncations that Debug builds do not; they are
# reported but must not stop a measurement.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS="${BENCH_CXX_FLAGS:--Wno-error=format-truncation}" \
  -DLERV32_BUILD_BENCH=ON -DLERV32_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target driver_bench -j2

# BENCH_FRESH=1 builds the cached tables anew, e.g. after the drivers changed
# how they store them.
if [ "${BENCH_FRESH:-0}" = 1 ]; then rm -rf "$build/bench/data"; fi

# The benchmark's own driver registry, never the machine's.
export ODBCSYSINI="$build/bench/odbc"
export ODBCINI="$build/bench/odbc/odbc.ini"
results="$build/bench/results.json"
"$build/bench/driver_bench" --benchmark_min_time="${BENCH_MIN_TIME:-1}" \
  --benchmark_repetitions="${BENCH_REPETITIONS:-3}" --benchmark_display_aggregates_only=true \
  --benchmark_out="$results" --benchmark_out_format=json "$@"

# The best of the repetitions: other work on the machine only adds time.
python3 - "$results" <<'PY'
import json, sys

best, errors = {}, []
for run in json.load(open(sys.argv[1]))["benchmarks"]:
    if run.get("run_type") == "aggregate":
        continue
    parts = run["run_name"].split("/")
    operation, driver = "/".join([parts[0][3:]] + parts[2:]), parts[1]
    if run.get("error_occurred"):
        errors.append("%s/%s: %s" % (operation, driver, run.get("error_message", "")))
        continue
    # Every iteration is 100,000 operations, timed in ms.
    cell = (run["real_time"], run["cpu_time"], run["real_time"] / 100)
    cells = best.setdefault(operation, {})
    if driver not in cells or cell[0] < cells[driver][0]:
        cells[driver] = cell

def ms(cells, driver, index):
    return "%.1f" % cells[driver][index] if driver in cells else "-"

def ratio(cells, index):
    if "sqlite" in cells and "sqlsim" in cells:
        return "%.2f" % (cells["sqlite"][index] / cells["sqlsim"][index])
    return "-"

row = "%-20s %12s %12s %12s %12s %10s %10s"
print()
print("times in ms per 100,000 operations (scan: per 100,000 rows), best of repetitions")
print(row % ("operation", "sqlite real", "sqlsim real", "sqlite cpu", "sqlsim cpu",
             "real s/q", "cpu s/q"))
for operation, cells in best.items():
    print(row % (operation, ms(cells, "sqlite", 0), ms(cells, "sqlsim", 0),
                 ms(cells, "sqlite", 1), ms(cells, "sqlsim", 1),
                 ratio(cells, 0), ratio(cells, 1)))
print("s/q: sqlite time / sqlsim time; above 1 means sqlsim is faster")
small, large = best.get("PointSelect/10000", {}), best.get("PointSelect/1000000", {})
for driver in ("sqlite", "sqlsim"):
    if driver in small and driver in large:
        print("%s point select, 1,000,000 rows against 10,000: real %.2f (%.2f us"
              " against %.2f us per select), cpu %.2f"
              % (driver, large[driver][0] / small[driver][0], large[driver][2],
                 small[driver][2], large[driver][1] / small[driver][1]))
for error in errors:
    print("failed " + error)
PY
