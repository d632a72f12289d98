#!/bin/sh
# Builds a Release tree in out/bench, runs the driver benchmarks and prints
# sqlite against sqlsim, then the host program natively against the Windows
# DLL under Wine. Extra arguments go to the benchmark program, e.g.
# --benchmark_filter=sqlite. BENCH_MIN_TIME sets the seconds per benchmark,
# BENCH_REPETITIONS how often each runs.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/out/bench
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DLERV32_BUILD_BENCH=ON -DLERV32_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target driver_bench navigation_bench record_access_bench blob_bench host_calls param_array_bench \
  field_access_bench -j2

# BENCH_FRESH=1 builds the cached tables anew, e.g. after the drivers changed
# how they store them.
if [ "${BENCH_FRESH:-0}" = 1 ]; then rm -rf "$build/bench/data"; fi

# The benchmark's own driver registry, never the machine's.
export ODBCSYSINI="$build/bench/odbc"
export ODBCINI="$build/bench/odbc/odbc.ini"
results="$build/bench/results.json"

# Record access through the library against a hand-written ODBC loop that
# sends the same statements: us per call and the ratio, best of the
# repetitions, run in random order so that other load hits both sides.
# BENCH_RECORDS=only runs just this, =0 skips it.
records() {
  "$build/bench/record_access_bench" --benchmark_min_time="${BENCH_MIN_TIME:-1}" \
    --benchmark_repetitions="${BENCH_REPETITIONS:-3}" --benchmark_enable_random_interleaving=true \
    --benchmark_display_aggregates_only=true --benchmark_out="$build/bench/records.json" \
    --benchmark_out_format=json "$@"
  python3 - "$build/bench/records.json" <<'PY'
import json, sys

best, walks, errors = {}, {}, []
for run in json.load(open(sys.argv[1]))["benchmarks"]:
    if run.get("run_type") == "aggregate":
        continue
    operation, side = run["run_name"].rsplit("/", 1)
    if run.get("error_occurred"):
        errors.append("%s/%s: %s" % (operation, side, run.get("error_message", "")))
        continue
    # Real and cpu time each at their own best: load slows either.
    cells = best.setdefault(operation, {}) if side in ("library", "hand") else walks.setdefault(operation, {})
    old = cells.get(side, (float("inf"), float("inf"), 0))
    cells[side] = (min(old[0], run["real_time"]), min(old[1], run["cpu_time"]), run.get("statements", 0))

row = "%-18s %17s %17s %13s"
print()
print("us per call, real / cpu, best of repetitions; ratio library / hand")
print(row % ("operation", "library", "hand", "ratio"))
order = ["%s/%s" % (o, p) for o in ("Read", "Next", "Find", "Update", "Append")
         for p in ("plain", "procedure", "prepared")]
for operation, cells in sorted(best.items(), key=lambda item: order.index(item[0]) if item[0] in order else 99):
    lib, hand = cells.get("library"), cells.get("hand")
    times = lambda c: "%.1f / %.1f" % c[:2] if c else "-"
    ratio = "%.2f / %.2f" % (lib[0] / hand[0], lib[1] / hand[1]) if lib and hand else "-"
    print(row % (operation, times(lib), times(hand), ratio))
if walks:
    print()
    print("a whole walk of the table: ms per walk, real / cpu, and statements sent")
    for operation, cells in walks.items():
        for side, (real, cpu, statements) in sorted(cells.items()):
            print("%-18s %-6s %17s %11d" % (operation, side, "%.0f / %.0f" % (real, cpu), statements))
for error in errors:
    print("failed " + error)
PY
}
if [ "${BENCH_RECORDS:-1}" = only ]; then records "$@"; exit 0; fi

# A 64 MiB blob written from a file and read to a file, through the library
# and by a hand-written loop on the same part rows: MB/s (bytes_per_second).
# BENCH_BLOBS=only runs just this, =0 skips it.
blobs() {
  "$build/bench/blob_bench" --benchmark_min_time="${BENCH_MIN_TIME:-1}" \
    --benchmark_repetitions="${BENCH_REPETITIONS:-3}" --benchmark_enable_random_interleaving=true \
    --benchmark_display_aggregates_only=true "$@"
}
if [ "${BENCH_BLOBS:-1}" = only ]; then blobs "$@"; exit 0; fi

# Read, next by key and append per call from bench/host_calls.c, a host
# program built from the public header alone: natively and as a Windows .exe
# with the DLLs under Wine (the Windows tree out/bench-windows, with the i386
# sqlsim it builds), on the same definition and record count, each in a fresh
# database. BENCH_WINE=only runs just this, =0 skips it; BENCH_WINE_RECORDS
# and BENCH_WINE_CALLS set the records and the calls per repetition.
host_calls() {
  windows=$root/out/bench-windows
  cmake -S "$root" -B "$windows" -G Ninja -DCMAKE_BUILD_TYPE=Release -DLERV32_BUILD_BENCH=ON \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
  cmake --build "$windows" --target host_calls sqlsim_driver -j2
  # Driver, output file, then the program with what starts it.
  run_host() {
    driver=$1 output=$2 data=$(mktemp -d) status=0
    shift 2
    "$@" "$driver" "$data" "$root/examples/kunde.def" "$root/sql/dpxfunc.sql" "${BENCH_WINE_RECORDS:-2000}" \
      "${BENCH_REPETITIONS:-3}" "${BENCH_WINE_CALLS:-200}" >"$output" || status=$?
    rm -rf "$data"
    return "$status"
  }
  # Neither side reads the user's settings or writes the user's event log;
  # the Windows side runs with the ODBC configuration of its tests.
  run_host "$build/sqlsim/odbc/libsqlsimodbc.so" "$build/bench/host-native.txt" \
    env LEBASE32_SETTINGS="$build/bench/no-settings.conf" LEBASE32_EVENTLOG="$build/bench/events.log" \
    "$build/bench/host_calls"
  run_host "$windows/sqlsim-i386/sqlsim/odbc/libsqlsimodbc.so" "$windows/bench/host-wine.txt" \
    env ODBCSYSINI="$windows/tests/odbc" ODBCINI="$windows/tests/odbc/odbc.ini" \
    LEBASE32_SETTINGS="$windows/tests/no-settings.conf" LEBASE32_EVENTLOG="$windows/tests/events.log" \
    LERV32_MSGBOX_LOG="$windows/tests/message-boxes.log" "$root/tools/wine-run.sh" "$windows/bench/host_calls.exe"
  emulator=
  if grep -qs '^enabled' /proc/sys/fs/binfmt_misc/qemu-i386; then emulator=$(qemu-i386 --version | head -n 1); fi
  python3 - "$build/bench/host-native.txt" "$windows/bench/host-wine.txt" "$emulator" <<'PY'
import sys

def load(path):
    lines = [line.strip() for line in open(path, encoding="latin-1")]
    return lines[0].lstrip("# "), dict(line.split() for line in lines[1:] if line)

header, native = load(sys.argv[1])
wine = load(sys.argv[2])[1]
row = "%-18s %11s %11s %8s"
print()
print("host program, %s; ratio Windows under Wine / native" % header)
if sys.argv[3]:
    print("32-bit programs run under %s here: the Wine figures include the emulation" % sys.argv[3])
print(row % ("operation", "native us", "wine us", "ratio"))
for operation in list(native) + [o for o in wine if o not in native]:
    ours, theirs = native.get(operation), wine.get(operation)
    ratio = "%.1f" % (float(theirs) / float(ours)) if ours and theirs else "-"
    print(row % (operation, ours or "-", theirs or "-", ratio))
PY
}
if [ "${BENCH_WINE:-1}" = only ]; then host_calls; exit 0; fi

# 1,000 rows through one execute of a parameter array against 1,000
# single-row executes, autocommit on and off: ms per 1,000 rows.
# BENCH_ARRAYS=only runs just this, =0 skips it.
arrays() {
  "$build/bench/param_array_bench" --benchmark_min_time="${BENCH_MIN_TIME:-1}" \
    --benchmark_repetitions="${BENCH_REPETITIONS:-3}" --benchmark_enable_random_interleaving=true \
    --benchmark_display_aggregates_only=true "$@"
}
if [ "${BENCH_ARRAYS:-1}" = only ]; then arrays "$@"; exit 0; fi

# A record read field by field through the per-field calls, at 8, 32 and
# 128 fields: us per record. BENCH_FIELDS=only runs just this, =0 skips it.
fields() {
  "$build/bench/field_access_bench" --benchmark_min_time="${BENCH_MIN_TIME:-1}" \
    --benchmark_repetitions="${BENCH_REPETITIONS:-3}" --benchmark_display_aggregates_only=true "$@"
}
if [ "${BENCH_FIELDS:-1}" = only ]; then fields "$@"; exit 0; fi

# BENCH_NAVIGATION=only runs just the navigation procedures, =0 skips them.
navigation() {
  "$build/bench/navigation_bench" --benchmark_min_time="${BENCH_MIN_TIME:-1}" \
    --benchmark_counters_tabular=true "$@"
}
if [ "${BENCH_NAVIGATION:-1}" = only ]; then navigation "$@"; exit 0; fi
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
    cell = (run["real_time"], run["cpu_time"])
    cells = best.setdefault(operation, {})
    if driver not in cells or cell[0] < cells[driver][0]:
        cells[driver] = cell

def times(cells, driver):
    if driver not in cells:
        return "-"
    return "%.0f / %.0f" % cells[driver]

def ratio(cells, driver):
    if driver in cells and "sqlsim" in cells:
        return "%.2f / %.2f" % tuple(cells[driver][i] / cells["sqlsim"][i] for i in (0, 1))
    return "-"

drivers = ("sqlite", "sqlitewal", "sqlsim")
row = "%-20s %13s %13s %13s %13s %13s"
print()
print("ms per 100,000 operations (scan: 100,000 rows), real / cpu, best of repetitions")
print("sqlitewal: the SQLite driver on files in WAL mode, synchronous=NORMAL, as sqlsim")
print(row % (("operation",) + drivers + ("sqlite/sqlsim", "wal/sqlsim")))
for operation, cells in best.items():
    print(row % ((operation,) + tuple(times(cells, d) for d in drivers) +
                 (ratio(cells, "sqlite"), ratio(cells, "sqlitewal"))))
print("ratios above 1: sqlsim is faster")
small, large = best.get("PointSelect/10000", {}), best.get("PointSelect/1000000", {})
for driver in drivers:
    if driver in small and driver in large:
        # 100,000 selects timed in ms: ms / 100 is us per select.
        print("%-9s point select, 1,000,000 rows against 10,000 rows, us per select:"
              " real %.1f against %.1f (%.2f), cpu %.1f against %.1f (%.2f)"
              % ((driver,) + tuple(x for i in (0, 1) for x in (
                  large[driver][i] / 100, small[driver][i] / 100,
                  large[driver][i] / small[driver][i]))))
for error in errors:
    print("failed " + error)
PY

# Generated up_Next_/up_FindF_ per call (us_per_call) at 10,000 and 200,000
# records; the column should stay about flat between the two sizes.
if [ "${BENCH_NAVIGATION:-1}" != 0 ]; then navigation; fi

if [ "${BENCH_RECORDS:-1}" != 0 ]; then records; fi

if [ "${BENCH_BLOBS:-1}" != 0 ]; then blobs; fi

if [ "${BENCH_ARRAYS:-1}" != 0 ]; then arrays; fi

if [ "${BENCH_FIELDS:-1}" != 0 ]; then fields; fi

if [ "${BENCH_WINE:-1}" != 0 ]; then host_calls; fi
