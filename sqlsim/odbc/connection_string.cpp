#include "sqlsim/odbc/connection_string.h"

#include <cctype>

namespace sqlsim::odbc {

std::string UpperAttribute(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string_view TrimAttribute(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
  return s;
}

namespace {

// A braced value from text[*pos] (at '{') on; *pos ends after the '}'.
bool ReadBraced(std::string_view text, size_t* pos, std::string* value) {
  for (size_t i = *pos + 1; i < text.size(); ++i) {
    if (text[i] != '}') {
      value->push_back(text[i]);
    } else if (i + 1 < text.size() && text[i + 1] == '}') {
      value->push_back('}');
      ++i;
    } else {
      *pos = i + 1;
      return true;
    }
  }
  return false;
}

// value with each '}' doubled, for inside braces.
std::string Braced(const std::string& value) {
  std::string escaped;
  for (char c : value) {
    escaped.push_back(c);
    if (c == '}') escaped.push_back('}');
  }
  return escaped;
}

}  // namespace

bool ParseConnectionString(std::string_view text, ConnectionAttributes* out,
                           std::string* error) {
  size_t pos = 0;
  while (pos < text.size()) {
    size_t eq = text.find('=', pos);
    size_t semi = text.find(';', pos);
    if (eq == std::string_view::npos || (semi != std::string_view::npos && semi < eq)) {
      if (!TrimAttribute(text.substr(pos, semi == std::string_view::npos ? semi : semi - pos)).empty()) {
        *error = "Connection string attribute without '=': " +
                 std::string(text.substr(pos, semi == std::string_view::npos ? semi : semi - pos));
        return false;
      }
      if (semi == std::string_view::npos) break;
      pos = semi + 1;
      continue;
    }
    std::string key = UpperAttribute(TrimAttribute(text.substr(pos, eq - pos)));
    pos = eq + 1;
    while (pos < text.size() && text[pos] == ' ') ++pos;
    std::string value;
    if (pos < text.size() && text[pos] == '{') {
      if (!ReadBraced(text, &pos, &value)) {
        *error = "Unterminated '{' in the value of " + key;
        return false;
      }
      size_t next = text.find(';', pos);
      pos = next == std::string_view::npos ? text.size() : next + 1;
    } else {
      size_t next = text.find(';', pos);
      value = std::string(TrimAttribute(text.substr(pos, next == std::string_view::npos ? next : next - pos)));
      pos = next == std::string_view::npos ? text.size() : next + 1;
    }
    if (!key.empty() && !out->count(key)) (*out)[key] = value;
  }
  return true;
}

std::string CompletedConnectionString(const ConnectionAttributes& attrs) {
  auto pair = [](const std::string& key, const std::string& value) {
    // Braced where a plain value would read back otherwise.
    const bool brace = value.find_first_of(";{}") != std::string::npos ||
                       (!value.empty() && (std::isspace(static_cast<unsigned char>(value.front())) ||
                                           std::isspace(static_cast<unsigned char>(value.back()))));
    return brace ? key + "={" + Braced(value) + "};" : key + "=" + value + ";";
  };
  std::string out;
  auto dsn = attrs.find("DSN");
  auto driver = attrs.find("DRIVER");
  if (dsn != attrs.end()) {
    out += pair("DSN", dsn->second);
  } else if (driver != attrs.end()) {
    out += "DRIVER={" + Braced(driver->second) + "};";
  }
  // The password is taken (and ignored), never handed back.
  for (const auto& [key, value] : attrs) {
    if (key != "DSN" && key != "DRIVER" && key != "PWD") out += pair(key, value);
  }
  return out;
}

}  // namespace sqlsim::odbc
