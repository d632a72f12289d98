#include "sqlsim/engine/trace.h"

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdio>

namespace sqlsim {
namespace {

void AppendEscaped(std::string* out, std::string_view text) {
  for (char c : text) {
    switch (c) {
      case '\n': *out += "\\n"; break;
      case '\r': *out += "\\r"; break;
      case '\t': *out += "\\t"; break;
      case '\\': *out += "\\\\"; break;
      default: *out += c;
    }
  }
}

}  // namespace

std::string TraceLiteral(const Value& value) {
  switch (value.kind) {
    case Value::Kind::kNull: return "NULL";
    case Value::Kind::kInteger: return std::to_string(value.integer);
    case Value::Kind::kReal: {
      char buffer[32];
      auto result = std::to_chars(buffer, buffer + sizeof buffer, value.real);
      return std::string(buffer, result.ptr);
    }
    case Value::Kind::kText: {
      std::string out = "'";
      for (char c : value.bytes) {
        out += c;
        if (c == '\'') out += '\'';
      }
      return out + "'";
    }
    case Value::Kind::kBlob: {
      static const char kHex[] = "0123456789ABCDEF";
      std::string out = "0x";
      for (unsigned char c : value.bytes) {
        out += kHex[c >> 4];
        out += kHex[c & 15];
      }
      return out;
    }
  }
  return "NULL";
}

void StatementTrace::Prepared(std::string_view text) const {
  if (!enabled()) return;
  std::string line = "PREPARE\t";
  AppendEscaped(&line, text);
  Append(line);
}

void StatementTrace::Executed(std::string_view text,
                              const std::vector<ParamValue>& params) const {
  if (!enabled()) return;
  std::string line = "EXECUTE\t";
  AppendEscaped(&line, text);
  for (const ParamValue& param : params) {
    line += '\t';
    AppendEscaped(&line, TraceLiteral(param.value));
  }
  Append(line);
}

// One write of a whole line with O_APPEND, so that the lines of several
// connections and processes tracing into one file do not interleave.
void StatementTrace::Append(const std::string& line) const {
  int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  std::string whole = line + "\n";
  ssize_t written = ::write(fd, whole.data(), whole.size());
  (void)written;
  ::close(fd);
}

}  // namespace sqlsim
