// A host that reads a record field by field: every field of a definition
// with the most fields a definition can have, through the per-field calls.
// The per-call check of the definition must not grow with its field count.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "include/lerv32.h"

namespace {

// LERV32_MAX_FIELDS numeric and text fields in turn, keys over the first ones.
TableDef* WideDefinition(int fields) {
  TableDef* td = rv_AllocTableDef();
  for (int i = 0; i < fields; ++i) {
    const std::string name = "FELD" + std::to_string(i);
    rv_AddField(td, name.c_str(), i % 2 == 0 ? 'N' : 'C', i % 2 == 0 ? 9 : 20, 0);
  }
  for (int k = 0; k < LERV32_MAX_KEYS; ++k) {
    const std::string key = "KEY" + std::to_string(k) + ",FELD" + std::to_string(k) + ",FELD" + std::to_string(k + 1);
    rv_AddKeyDef(td, key.c_str());
  }
  return td;
}

void BM_FieldByField(benchmark::State& state) {
  const int fields = static_cast<int>(state.range(0));
  TableDef* td = WideDefinition(fields);
  std::vector<char> record(static_cast<size_t>(rv_FieldOffset(td, fields - 1) + rv_FieldLen(td, fields - 1)), ' ');
  char text[300];
  for (auto _ : state) {
    for (int field = 0; field < fields; ++field) {
      benchmark::DoNotOptimize(rv_FieldToString(td, field, record.data(), text));
      benchmark::DoNotOptimize(rv_FieldLen(td, field));
    }
  }
  state.counters["ns_per_field"] =
      benchmark::Counter(static_cast<double>(fields) * static_cast<double>(state.iterations()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  rv_FreeTableDef(td);
}
BENCHMARK(BM_FieldByField)->Arg(8)->Arg(32)->Arg(LERV32_MAX_FIELDS)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
