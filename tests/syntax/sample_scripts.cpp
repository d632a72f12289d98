// Writes every script the generators make for the shared sample definitions
// into one folder, one file a script, for the Transact-SQL syntax check:
//   sample_scripts FOLDER
// Per sample: the table script in both forms, each key's index script in both
// forms, the drop script, the per-table procedures and each key's
// procedures. Exit status 0 when every script was written, 1 when a
// generator broke its own contract or a file could not be written, 2 on bad
// arguments.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "include/lerv32.h"
#include "schema/sample_defs.h"

namespace {

namespace fs = std::filesystem;

// A bounded generator with its definition and key bound: (out, capacity).
using Generator = std::function<int32_t(char*, int32_t)>;

constexpr int32_t kFirstCapacity = 64 * 1024;
constexpr int32_t kLastCapacity = 64 * 1024 * 1024;

// The generator's text, grown into a bigger buffer while it does not fit.
// False (with a message) when the text does not fit the largest buffer or
// the count returned is not the length of the text.
bool Run(const Generator& generate, const std::string& what, std::string& text) {
  for (int32_t capacity = kFirstCapacity; capacity <= kLastCapacity; capacity *= 2) {
    std::vector<char> buffer(static_cast<std::size_t>(capacity), '\x7f');
    const int32_t written = generate(buffer.data(), capacity);
    if (written == -1) {
      if (buffer[0] != '\0') {
        std::fprintf(stderr, "%s: -1 without an empty text\n", what.c_str());
        return false;
      }
      continue;
    }
    const std::size_t length =
        static_cast<std::size_t>(std::find(buffer.begin(), buffer.end(), '\0') - buffer.begin());
    if (length == buffer.size() || written < 0 || static_cast<std::size_t>(written) != length) {
      std::fprintf(stderr, "%s: returned %ld for a text of %lu characters\n", what.c_str(), static_cast<long>(written),
                   static_cast<unsigned long>(length));
      return false;
    }
    text.assign(buffer.data(), length);
    return true;
  }
  std::fprintf(stderr, "%s: does not fit %ld bytes\n", what.c_str(), static_cast<long>(kLastCapacity));
  return false;
}

// Letters, digits and underscores of a key name, for a file name.
std::string FileSafe(const char* name) {
  std::string safe;
  for (const char* p = name != nullptr ? name : ""; *p != '\0'; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    const bool plain = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    safe += plain ? static_cast<char>(c) : '_';
  }
  return safe;
}

class Writer {
 public:
  explicit Writer(fs::path folder) : folder_(std::move(folder)) {}

  // Generates one script into folder/name; false after a reported failure.
  bool Write(const std::string& name, const Generator& generate) {
    std::string text;
    if (!Run(generate, name, text)) return false;
    const fs::path file = folder_ / name;
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
      std::fprintf(stderr, "%s: cannot write\n", file.string().c_str());
      return false;
    }
    std::printf("%-48s %8lu characters\n", name.c_str(), static_cast<unsigned long>(text.size()));
    ++files_;
    if (!text.empty()) ++with_text_;
    return true;
  }

  int files() const { return files_; }
  int with_text() const { return with_text_; }

 private:
  fs::path folder_;
  int files_ = 0;
  int with_text_ = 0;
};

bool WriteSample(Writer& writer, const samples::Sample& sample) {
  const auto td = samples::Load(sample);
  const TableDef* t = td.get();
  const std::string stem = sample.name;
  bool ok = true;
  ok &= writer.Write(stem + ".table.tsql.sql",
                     [t](char* out, int32_t capacity) { return rv_GenSqlTableDefN(t, out, capacity, 1); });
  ok &= writer.Write(stem + ".table.std.sql",
                     [t](char* out, int32_t capacity) { return rv_GenSqlTableDefN(t, out, capacity, 0); });
  ok &= writer.Write(stem + ".drop.sql", [t](char* out, int32_t capacity) { return rv_GenSqlDropDefN(t, out, capacity); });
  ok &= writer.Write(stem + ".procedures.sql",
                     [t](char* out, int32_t capacity) { return rv_GenSqlTableBasicProcN(t, out, capacity, 0); });
  const int32_t keys = rv_KeyCnt(t);
  for (int32_t key = 0; key < keys; ++key) {
    const std::string prefix = stem + ".key" + std::to_string(key) + "-" + FileSafe(rv_KeyName(t, key));
    ok &= writer.Write(prefix + ".index.tsql.sql", [t, key](char* out, int32_t capacity) {
      return rv_GenSqlIndexDefN(t, out, capacity, key, 1);
    });
    ok &= writer.Write(prefix + ".index.std.sql", [t, key](char* out, int32_t capacity) {
      return rv_GenSqlIndexDefN(t, out, capacity, key, 0);
    });
    ok &= writer.Write(prefix + ".procedures.sql", [t, key](char* out, int32_t capacity) {
      return rv_GenSqlTableIndexProcN(t, out, capacity, key, 0);
    });
  }
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || argv[1][0] == '\0') {
    std::fprintf(stderr, "usage: sample_scripts FOLDER\n");
    return 2;
  }
  const fs::path folder = argv[1];
  std::error_code error;
  fs::create_directories(folder, error);
  if (error || !fs::is_directory(folder)) {
    std::fprintf(stderr, "%s: cannot create the folder\n", folder.string().c_str());
    return 1;
  }

  Writer writer(folder);
  bool ok = true;
  for (const auto& sample : samples::All()) ok &= WriteSample(writer, sample);
  rv_SetMandant("");

  std::printf("%d scripts written, %d of them with text\n", writer.files(), writer.with_text());
  return ok ? 0 : 1;
}
