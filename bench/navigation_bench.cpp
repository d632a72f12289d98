// The generated navigation procedures on sqlsim, prepared and executed as
// record access does: up_Next_ walking forward and up_FindF_ with random
// prefixes, over a key table and in the direct form, for two table sizes.
// The time per call should not grow with the table: the indexes carry it.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/bench_tables.h"
#include "bench/odbc_bench.h"
#include "include/lerv32.h"
#include "tabledef/definition_file.h"

namespace bench {
namespace {

enum class Form { kKeyTable, kDirect };

constexpr int kCalls = 1000;
constexpr int kNameWidth20 = 20;
constexpr size_t kScriptCapacity = 1 << 20;

const char* BaseName(Form form) { return form == Form::kKeyTable ? "NAVBK" : "NAVBD"; }

std::vector<std::string> Definition(Form form) {
  std::vector<std::string> lines = {std::string("ALIAS=") + BaseName(form), "FIELD=NAME,C,20", "FIELD=ORT,C,15",
                                    "FIELD=NR,N,8", "KEY=NAME_KEY,NAME,ORT"};
  if (form == Form::kKeyTable) lines.push_back("USEKEYTAB=1");
  return lines;
}

// Every name twice, in an order unrelated to the record id.
std::string RowName(int rec_id, int rows) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "N%07d", static_cast<int>((static_cast<long long>(rec_id) * 7919) % (rows / 2)));
  return buffer;
}

template <class Generate>
std::string Generated(Generate generate) {
  std::string out(kScriptCapacity, '\0');
  generate(&out[0], static_cast<int32_t>(kScriptCapacity));
  return out.c_str();
}

std::string CreateScript(TableDef* td) {
  std::string script = Generated([&](char* out, int32_t capacity) { rv_GenSqlTableDefN(td, out, capacity, 1); });
  script += Generated([&](char* out, int32_t capacity) { rv_GenSqlTableBasicProcN(td, out, capacity, 1); });
  for (int32_t k = 0; k < td->KeyCnt; ++k) {
    script += Generated([&](char* out, int32_t capacity) { rv_GenSqlIndexDefN(td, out, capacity, k, 1); });
  }
  return script;
}

// Batches as a host splits them: "GO" CR LF at a line start ends one, a
// block comment at a line start is skipped, blank batches are not run.
std::vector<std::string> SplitBatches(const std::string& script) {
  std::vector<std::string> batches;
  std::string current;
  auto flush = [&] {
    if (current.find_first_not_of(" \t\r\n") != std::string::npos) batches.push_back(current);
    current.clear();
  };
  bool line_start = true;
  for (size_t i = 0; i < script.size();) {
    if (line_start && script.compare(i, 4, "GO\r\n") == 0) {
      flush();
      i += 4;
    } else if (line_start && script.compare(i, 2, "/*") == 0) {
      size_t end = script.find("*/", i + 2);
      i = end == std::string::npos ? script.size() : end + 2;
    } else {
      line_start = script[i] == '\n';
      current += script[i++];
    }
  }
  flush();
  return batches;
}

void RunScript(Connection& connection, const std::string& script) {
  for (const std::string& batch : SplitBatches(script)) connection.Execute(batch);
}

void InsertRows(Connection& connection, Form form, int rows) {
  connection.SetAutocommit(false);
  Statement insert(connection);
  insert.Prepare(std::string("INSERT INTO [dbo].[ut_") + BaseName(form) + "] (RecId, NAME, ORT, NR) VALUES (?,?,?,?)");
  SQLINTEGER rec_id = 0;
  SQLINTEGER number = 0;
  char name[kNameWidth20 + 1] = {};
  char place[16] = {};
  SQLLEN name_length = SQL_NTS;
  SQLLEN place_length = SQL_NTS;
  insert.BindInt(1, &rec_id);
  insert.BindText(2, name, kNameWidth20, &name_length);
  insert.BindText(3, place, 15, &place_length);
  insert.BindInt(4, &number);
  for (rec_id = 1; rec_id <= rows; ++rec_id) {
    std::snprintf(name, sizeof name, "%s", RowName(rec_id, rows).c_str());
    std::snprintf(place, sizeof place, "ORT%d", rec_id % 97);
    number = rec_id;
    insert.Execute();
  }
  connection.Commit();
  connection.SetAutocommit(true);
}

bool HasTable(const std::string& connection_string, Form form, int rows) {
  try {
    Connection connection(connection_string);
    const std::string base = BaseName(form);
    return connection.QueryLong("SELECT count(*) FROM [dbo].[ut_" + base + "]") == rows &&
           connection.QueryLong("SELECT count(*) FROM sysobjects WHERE name = 'up_FindL_" + base + "_NAME_KEY'") == 1;
  } catch (const OdbcError&) {
    return false;
  }
}

// The data table is created by the script's first batch, filled, and then
// the whole script runs: the table stays, and with key tables the script's
// fill statement writes every key row in one statement.
std::string EnsureNavigationTable(Form form, int rows) {
  static std::mutex mutex;
  static std::set<std::pair<Form, int>> ready;
  const std::string name = std::string("nav") + (form == Form::kKeyTable ? "k" : "d") + std::to_string(rows);
  std::string connection_string = ConnectionString(Driver::kSqlsim, name);
  std::lock_guard<std::mutex> lock(mutex);
  if (ready.count({form, rows}) != 0 || HasTable(connection_string, form, rows)) {
    ready.insert({form, rows});
    return connection_string;
  }
  std::fprintf(stderr, "building %s of %d rows\n", BaseName(form), rows);
  rv_SetMandant("");
  TableDef* td = rv_AllocTableDef();
  if (td == nullptr) throw OdbcError("no table definition");
  lerv32::ApplyDefinitionLines(td, Definition(form));
  const std::string script = CreateScript(td);
  rv_FreeTableDef(td);
  Connection connection(FreshDatabase(Driver::kSqlsim, name));
  connection.Execute(SplitBatches(script).at(0));
  InsertRows(connection, form, rows);
  RunScript(connection, script);
  if (!HasTable(connection_string, form, rows)) throw OdbcError("navigation table incomplete");
  ready.insert({form, rows});
  return connection_string;
}

std::string Procedure(const char* prefix, Form form) {
  return std::string("EXECUTE [") + prefix + BaseName(form) + "_NAME_KEY]";
}

// Executes the prepared call and reads its record id; 0 when there is none.
SQLINTEGER RunRecIdCall(Statement& call, SQLINTEGER& result, SQLLEN& indicator) {
  call.Execute();
  const bool row = call.Fetch();
  call.Close();
  return row && indicator != SQL_NULL_DATA ? result : 0;
}

void CountCalls(benchmark::State& state) {
  state.SetItemsProcessed(state.iterations() * kCalls);
  state.counters["per_call"] = benchmark::Counter(
      kCalls, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <typename Body>
void Guarded(benchmark::State& state, Body body) {
  try {
    body();
  } catch (const std::exception& error) {
    state.SkipWithError(error.what());
  }
}

void BM_NavNext(benchmark::State& state, Form form) {
  Guarded(state, [&] {
    const int rows = static_cast<int>(state.range(0));
    Connection connection(EnsureNavigationTable(form, rows));
    Statement first(connection);
    Statement next(connection);
    first.Prepare(Procedure("up_First_", form));
    next.Prepare(Procedure("up_Next_", form) + " ?");
    SQLINTEGER current = 0;
    SQLINTEGER result = 0;
    SQLLEN indicator = 0;
    next.BindInt(1, &current);
    first.BindColumn(1, SQL_C_LONG, &result, sizeof result, &indicator);
    next.BindColumn(1, SQL_C_LONG, &result, sizeof result, &indicator);
    const SQLINTEGER start = RunRecIdCall(first, result, indicator);
    if (start == 0) throw OdbcError("no first record");
    current = start;
    for (auto _ : state) {
      for (int i = 0; i < kCalls; ++i) {
        const SQLINTEGER found = RunRecIdCall(next, result, indicator);
        current = found != 0 ? found : start;
      }
    }
    CountCalls(state);
  });
}

void BM_NavFindF(benchmark::State& state, Form form) {
  Guarded(state, [&] {
    const int rows = static_cast<int>(state.range(0));
    Connection connection(EnsureNavigationTable(form, rows));
    Statement find(connection);
    find.Prepare(Procedure("up_FindF_", form) + " ?,?");
    char key[129] = {};
    SQLLEN key_length = 128;
    SQLINTEGER length = static_cast<SQLINTEGER>(state.range(1));
    SQLINTEGER result = 0;
    SQLLEN indicator = 0;
    // As record access binds it: fixed-length CHAR of 128 blank-padded bytes.
    Check(SQLBindParameter(find.get(), 1, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_CHAR, 128, 0, key, 128, &key_length),
          SQL_HANDLE_STMT, find.get(), "SQLBindParameter");
    find.BindInt(2, &length);
    find.BindColumn(1, SQL_C_LONG, &result, sizeof result, &indicator);
    std::mt19937 generator(20261206);
    std::uniform_int_distribution<int> pick(1, rows);
    std::vector<std::string> prefixes;
    for (int i = 0; i < kCalls; ++i) prefixes.push_back(RowName(pick(generator), rows));
    for (auto _ : state) {
      for (const std::string& prefix : prefixes) {
        std::memset(key, ' ', 128);
        std::memcpy(key, prefix.data(), std::min(prefix.size(), sizeof key - 1));
        if (RunRecIdCall(find, result, indicator) == 0) throw OdbcError("no record for " + prefix);
      }
    }
    CountCalls(state);
  });
}

void Sizes(benchmark::internal::Benchmark* benchmark) { benchmark->Arg(10000)->Arg(200000); }
// Prefix lengths: inside the first key field, and the whole first field.
void SizesAndPrefixes(benchmark::internal::Benchmark* benchmark) {
  benchmark->ArgsProduct({{10000, 200000}, {8, kNameWidth20}});
}

BENCHMARK_CAPTURE(BM_NavNext, keytable, Form::kKeyTable)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NavNext, direct, Form::kDirect)->Apply(Sizes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NavFindF, keytable, Form::kKeyTable)->Apply(SizesAndPrefixes)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_NavFindF, direct, Form::kDirect)->Apply(SizesAndPrefixes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace bench

BENCHMARK_MAIN();
