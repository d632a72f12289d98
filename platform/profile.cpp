#include "platform/profile.h"

#include <cctype>

namespace platform {
namespace {

bool IsBlank(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool SameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Steps through the lines of text.
class Lines {
 public:
  explicit Lines(std::string_view text) : rest_(text) {
    if (rest_.substr(0, 3) == "\xEF\xBB\xBF") rest_.remove_prefix(3);
  }
  bool Next(std::string_view* line) {
    if (done_) return false;
    const size_t end = rest_.find_first_of("\r\n");
    *line = Trim(rest_.substr(0, end));
    if (end == std::string_view::npos) {
      done_ = true;
    } else {
      rest_.remove_prefix(end + 1);
    }
    return true;
  }

 private:
  std::string_view rest_;
  bool done_ = false;
};

}  // namespace

std::optional<std::string> FindProfileValue(std::string_view text, std::string_view section, std::string_view key) {
  section = Trim(section);
  key = Trim(key);
  Lines lines(text);
  std::string_view line;
  bool in_section = false;
  while (lines.Next(&line)) {
    if (line.empty() || line.front() == ';') continue;
    const size_t close = line.rfind(']');
    // A line that opens a bracket without closing it is no section header.
    if (line.front() == '[' && close != std::string_view::npos) {
      // Only the first section of a name counts.
      if (in_section) return std::nullopt;
      in_section = SameName(Trim(line.substr(1, close - 1)), section);
      continue;
    }
    if (!in_section) continue;
    const size_t equals = line.find('=');
    if (!SameName(Trim(line.substr(0, equals)), key)) continue;
    // The first line of the key decides; without '=' it has no value.
    if (equals == std::string_view::npos) return std::nullopt;
    const std::string_view value = Unquoted(Trim(line.substr(equals + 1)));
    return std::string(value.substr(0, value.find('\0')));
  }
  return std::nullopt;
}

int32_t ProfileNumber(std::string_view text) {
  size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
  uint32_t base = 10;
  if (at + 1 < text.size() && text[at] == '0') {
    // Only small letters name a base.
    const char prefix = text[at + 1];
    base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
    if (base != 10) at += 2;
  }
  uint32_t value = 0;
  for (; at < text.size(); ++at) {
    const int c = std::tolower(static_cast<unsigned char>(text[at]));
    const uint32_t digit = std::isdigit(c) ? static_cast<uint32_t>(c - '0')
                           : c >= 'a' && c <= 'f' ? static_cast<uint32_t>(c - 'a' + 10)
                                                  : base;
    if (digit >= base) break;
    value = value * base + digit;
  }
  return static_cast<int32_t>(negative ? 0u - value : value);
}

}  // namespace platform
