// Writes every script the generators make for the shared sample definitions
// and for definitions with hostile names into one folder, one file a script,
// for the Transact-SQL syntax check:
//   sample_scripts FOLDER
// Exit status 0 when every script was written, 1 when a generator failed or
// a file could not be written, 2 on bad arguments.
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "include/lerv32.h"
#include "schema/sample_defs.h"
#include "support/hostile_names.h"

namespace {

namespace fs = std::filesystem;
using Generator = std::function<int32_t(char* out, int32_t capacity)>;

bool Write(const fs::path& folder, const std::string& name, const Generator& generate) {
  constexpr int32_t kCapacity = 16 * 1024 * 1024;
  std::vector<char> buffer(kCapacity);
  const int32_t length = generate(buffer.data(), kCapacity);
  std::ofstream out(folder / name, std::ios::binary);
  out.write(buffer.data(), length > 0 ? length : 0);
  out.close();
  const bool ok = length >= 0 && out;
  std::fprintf(ok ? stdout : stderr, "%-48s %s\n", name.c_str(), ok ? "written" : "generator or file failed");
  return ok;
}

// A name as part of a file name: letters, digits and underscores kept.
std::string FileLabel(const std::string& name) {
  std::string label;
  for (const char c : name) label += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
  return label;
}

bool WriteDefinition(const fs::path& folder, const std::string& stem, const TableDef* t) {
  bool ok = Write(folder, stem + ".table.tsql.sql", [t](char* o, int32_t n) { return rv_GenSqlTableDefN(t, o, n, 1); });
  ok &= Write(folder, stem + ".table.std.sql", [t](char* o, int32_t n) { return rv_GenSqlTableDefN(t, o, n, 0); });
  ok &= Write(folder, stem + ".drop.sql", [t](char* o, int32_t n) { return rv_GenSqlDropDefN(t, o, n); });
  ok &= Write(folder, stem + ".procedures.sql", [t](char* o, int32_t n) { return rv_GenSqlTableBasicProcN(t, o, n, 0); });
  for (int32_t k = 0; k < rv_KeyCnt(t); ++k) {
    const std::string prefix = stem + ".key" + std::to_string(k) + "-" + FileLabel(rv_KeyName(t, k));
    ok &= Write(folder, prefix + ".index.tsql.sql", [t, k](char* o, int32_t n) { return rv_GenSqlIndexDefN(t, o, n, k, 1); });
    ok &= Write(folder, prefix + ".index.std.sql", [t, k](char* o, int32_t n) { return rv_GenSqlIndexDefN(t, o, n, k, 0); });
    ok &= Write(folder, prefix + ".procedures.sql",
                [t, k](char* o, int32_t n) { return rv_GenSqlTableIndexProcN(t, o, n, k, 0); });
  }
  return ok;
}

bool WriteSample(const fs::path& folder, const samples::Sample& sample) {
  const auto td = samples::Load(sample);
  return WriteDefinition(folder, sample.name, td.get());
}

// Each hostile name as table, field and key name at once, with and without
// key tables (and a filter column).
bool WriteHostileSamples(const fs::path& folder) {
  const std::vector<std::string> tables = hostile::Names(31), fields = hostile::Names(15), keys = hostile::Names(19);
  bool ok = true;
  for (size_t i = 0; i < tables.size(); ++i) {
    for (const char* key_table : {"0", "1"}) {
      const std::string field = fields[i].substr(0, 15);
      const bool listable = field.find_first_of(",;") == std::string::npos;
      auto td = testenv::NewTableDef();
      lerv32::ApplyDefinitionLines(td.get(), {"ALIAS=" + tables[i], std::string("USEKEYTAB=") + key_table,
                                              "FIELD=NR,l", "FIELD=" + field + ",C,10",
                                              "SQLKEY=" + keys[i] + (listable ? "," + field : "") + ",NR;[NR] > 0"});
      ok &= WriteDefinition(folder, "hostile" + std::to_string(i) + "-keytable" + key_table, td.get());
    }
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: sample_scripts FOLDER\n");
    return 2;
  }
  std::error_code error;
  fs::create_directories(argv[1], error);
  bool ok = !error;
  for (const auto& sample : samples::All()) ok = ok && WriteSample(argv[1], sample);
  ok = ok && WriteHostileSamples(argv[1]);
  rv_SetMandant("");
  return ok ? 0 : 1;
}
