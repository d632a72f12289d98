#!/bin/sh
# Builds a Release tree in out/bench, runs the driver benchmarks and prints
# sqlite against sqlsim. Extra arguments go to the benchmark program, e.g.
# --benchmark_filter=sqlite. BENCH_MIN_TIME sets the seconds per benchmark.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/out/bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DLERV32_BUILD_BENCH=ON -DLERV32_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target driver_bench -j2

# The benchmark's own driver registry, never the machine's.
export ODBCSYSINI="$build/bench/odbc"
export ODBCINI="$build/bench/odbc/odbc.ini"
results="$build/bench/results.json"
"$build/bench/driver_bench" --benchmark_min_time="${BENCH_MIN_TIME:-1}" \
  --benchmark_out="$results" --benchmark_out_format=json "$@"

python3 - "$results" <<'PY'
import json, sys

runs = json.load(open(sys.argv[1]))["benchmarks"]
table = {}
for run in runs:
    if run.get("run_type") == "aggregate":
        continue
    parts = run["run_name"].split("/")
    operation = "/".join([parts[0][3:]] + parts[2:])
    if run.get("error_occurred"):
        cell = "error: " + run.get("error_message", "")
    else:
        cell = (run["real_time"], run.get("per_op", 0) * 1e6)
    table.setdefault(operation, {})[parts[1]] = cell

def show(cell):
    if cell is None:
        return "-"
    if isinstance(cell, str):
        return "failed (below)"
    return "%.1f ms (%.2f us/op)" % cell

print()
print("%-22s %-26s %-26s %s" % ("operation", "sqlite", "sqlsim", "sqlsim/sqlite"))
for operation, cells in table.items():
    sqlite, sqlsim = cells.get("sqlite"), cells.get("sqlsim")
    ratio = "-"
    if isinstance(sqlite, tuple) and isinstance(sqlsim, tuple):
        ratio = "%.2f" % (sqlsim[0] / sqlite[0])
    print("%-22s %-26s %-26s %s" % (operation, show(sqlite), show(sqlsim), ratio))
print()
small, large = table.get("PointSelect/10000", {}), table.get("PointSelect/1000000", {})
for driver in ("sqlite", "sqlsim"):
    if isinstance(small.get(driver), tuple) and isinstance(large.get(driver), tuple):
        print("%s point select, 1,000,000 rows against 10,000: %.2f" %
              (driver, large[driver][0] / small[driver][0]))
for operation, cells in table.items():
    for driver, cell in sorted(cells.items()):
        if isinstance(cell, str):
            print("%s/%s %s" % (operation, driver, cell))
PY
