#include "tests/sqlsim/scripts/navigation_model.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <utility>

#include "schema/key_composition.h"

namespace nav {
namespace {

unsigned char UpperByte(unsigned char c) {
  if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
  switch (c) {
    case 0x9A: return 0x8A;  // s caron
    case 0x9C: return 0x8C;  // oe
    case 0x9E: return 0x8E;  // z caron
    case 0xFF: return 0x9F;  // y diaeresis
    default: return c;
  }
}

std::string TrimRight(const std::string& text) {
  size_t end = text.find_last_not_of(' ');
  return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

bool StartsWith(const std::string& value, const std::string& prefix) {
  if (prefix.size() > value.size()) return false;
  return Upper1252(value.substr(0, prefix.size())) == Upper1252(prefix);
}

// The key table holds numbers as the library composes them from the record.
std::string Part(const KeyField& field, const Value& value, bool composed) {
  if (field.type == 'N' && composed) {
    const FieldDef def{0, static_cast<uint16_t>(field.len), 'N', static_cast<uint8_t>(field.dec), ""};
    return lerv32::KeyPartText(def, StrNumber(value.number, field.len, field.dec).c_str());
  }
  if (field.type == 'N') return StrNumber(value.number, field.len, field.dec);
  if (field.type == 'D') return Padded(value.text, 10);
  return Padded(value.text, static_cast<size_t>(field.len));
}

int CompareField(const KeyField& field, const Value& a, const Value& b) {
  if (field.type == 'N') return a.number < b.number ? -1 : (a.number > b.number ? 1 : 0);
  return CompareCollated(a.text, b.text);
}

// The column compared with a piece of the search key, as the server converts.
bool FieldEquals(const KeyField& field, const Value& value, const std::string& piece) {
  if (field.type == 'N') return value.number == std::strtod(piece.c_str(), nullptr);
  return CompareCollated(value.text, piece) == 0;
}

}  // namespace

std::string Upper1252(const std::string& text) {
  std::string out = text;
  for (char& c : out) c = static_cast<char>(UpperByte(static_cast<unsigned char>(c)));
  return out;
}

std::string StrNumber(double value, int len, int dec) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", dec, value);
  std::string digits = buffer;
  if (digits.size() > static_cast<size_t>(len)) return std::string(static_cast<size_t>(len), '*');
  return std::string(static_cast<size_t>(len) - digits.size(), ' ') + digits;
}

std::string Padded(const std::string& text, size_t len) {
  std::string out = text.substr(0, len);
  out.resize(len, ' ');
  return out;
}

int CompareCollated(const std::string& a, const std::string& b) {
  const std::string x = Upper1252(TrimRight(a));
  const std::string y = Upper1252(TrimRight(b));
  return x.compare(y) < 0 ? -1 : (x == y ? 0 : 1);
}

std::string SearchKey(const std::vector<KeyField>& key, const Record& record, bool composed) {
  std::string out;
  for (const KeyField& field : key) {
    out += Part(field, record.fields.at(field.name), composed);
  }
  return composed ? Upper1252(out) : out;
}

KeyTableModel::KeyTableModel(std::vector<KeyField> key, const std::vector<Record>& records, Filter filter,
                             std::set<int32_t> missing)
    : key_(std::move(key)) {
  for (const Record& record : records) {
    if (missing.count(record.rec_id) != 0) continue;
    std::string value = ComposedValue(record);
    all_values_[record.rec_id] = value;
    if (!filter || filter(record)) visible_.emplace_back(value, record.rec_id);
  }
  std::sort(visible_.begin(), visible_.end(),
            [](const auto& a, const auto& b) { return CompareCollated(a.first, b.first) < 0; });
}

std::string KeyTableModel::ComposedValue(const Record& record) const {
  return SearchKey(key_, record, true) + StrNumber(record.rec_id, 10, 0);
}

const std::string* KeyTableModel::ValueOf(int64_t rec_id) const {
  auto it = all_values_.find(rec_id);
  return it == all_values_.end() ? nullptr : &it->second;
}

RecIds KeyTableModel::Order() const {
  RecIds out;
  for (const auto& entry : visible_) out.push_back(entry.second);
  return out;
}

RecIds KeyTableModel::First() const {
  return visible_.empty() ? RecIds{} : RecIds{visible_.front().second};
}

RecIds KeyTableModel::Last() const {
  return visible_.empty() ? RecIds{} : RecIds{visible_.back().second};
}

RecIds KeyTableModel::Next(int64_t rec_id, size_t count) const {
  RecIds out;
  const std::string* value = ValueOf(rec_id);
  if (value == nullptr) return out;
  for (const auto& entry : visible_) {
    if (out.size() < count && CompareCollated(entry.first, *value) > 0) out.push_back(entry.second);
  }
  return out;
}

RecIds KeyTableModel::Prior(int64_t rec_id, size_t count) const {
  RecIds out;
  const std::string* value = ValueOf(rec_id);
  if (value == nullptr) return out;
  for (auto it = visible_.rbegin(); it != visible_.rend(); ++it) {
    if (out.size() < count && CompareCollated(it->first, *value) < 0) out.push_back(it->second);
  }
  return out;
}

RecIds KeyTableModel::FindF(const std::string& key, int len) const {
  const std::string prefix = key.substr(0, static_cast<size_t>(len));
  for (const auto& entry : visible_) {
    if (CompareCollated(entry.first, prefix) >= 0) {
      return StartsWith(entry.first, prefix) ? RecIds{entry.second} : RecIds{};
    }
  }
  return {};
}

RecIds KeyTableModel::FindL(const std::string& key, int len) const {
  const std::string prefix = key.substr(0, static_cast<size_t>(len));
  for (auto it = visible_.rbegin(); it != visible_.rend(); ++it) {
    if (StartsWith(it->first, prefix)) return {it->second};
  }
  return {};
}

DirectModel::DirectModel(std::vector<KeyField> key, std::vector<Record> records)
    : key_(std::move(key)), sorted_(std::move(records)) {
  std::sort(sorted_.begin(), sorted_.end(), [this](const Record& a, const Record& b) {
    for (const KeyField& field : key_) {
      int c = CompareField(field, a.fields.at(field.name), b.fields.at(field.name));
      if (c != 0) return c < 0;
    }
    return a.rec_id < b.rec_id;
  });
}

RecIds DirectModel::Order() const {
  RecIds out;
  for (const Record& record : sorted_) out.push_back(record.rec_id);
  return out;
}

RecIds DirectModel::First() const { return sorted_.empty() ? RecIds{} : RecIds{sorted_.front().rec_id}; }

RecIds DirectModel::Last() const { return sorted_.empty() ? RecIds{} : RecIds{sorted_.back().rec_id}; }

RecIds DirectModel::Next(int64_t rec_id) const {
  for (size_t i = 0; i < sorted_.size(); ++i) {
    if (sorted_[i].rec_id == rec_id) return {i + 1 < sorted_.size() ? sorted_[i + 1].rec_id : 0};
  }
  return {0};
}

RecIds DirectModel::Prior(int64_t rec_id) const {
  for (size_t i = 0; i < sorted_.size(); ++i) {
    if (sorted_[i].rec_id == rec_id) return {i > 0 ? sorted_[i - 1].rec_id : 0};
  }
  return {0};
}

int DirectModel::KeySize() const {
  int size = 0;
  for (const KeyField& field : key_) size += field.len;
  return size;
}

bool DirectModel::Matches(const Record& record, const std::string& key, int len) const {
  const std::string padded = Padded(key, 128);
  int offset = 0;
  for (size_t i = 0; i < key_.size(); ++i) {
    const KeyField& field = key_[i];
    const int end = offset + field.len;
    const bool partial = field.len > 1 && len < end;
    if (partial || len == end) {
      for (size_t j = 0, at = 0; j < i; at += static_cast<size_t>(key_[j].len), ++j) {
        const std::string piece = padded.substr(at, static_cast<size_t>(key_[j].len));
        if (!FieldEquals(key_[j], record.fields.at(key_[j].name), piece)) return false;
      }
      const Value& value = record.fields.at(field.name);
      if (!partial) return FieldEquals(field, value, padded.substr(static_cast<size_t>(offset), static_cast<size_t>(field.len)));
      const size_t n = static_cast<size_t>(len - offset);
      return CompareCollated(Padded(value.text, static_cast<size_t>(field.len)).substr(0, n),
                             padded.substr(static_cast<size_t>(offset), n)) == 0;
    }
    offset = end;
  }
  return false;
}

RecIds DirectModel::FindF(const std::string& key, int len) const {
  if (len > KeySize()) return {0};
  for (const Record& record : sorted_) {
    if (Matches(record, key, len)) return {record.rec_id};
  }
  return {};
}

RecIds DirectModel::FindL(const std::string& key, int len) const {
  if (len > KeySize()) return {0};
  for (auto it = sorted_.rbegin(); it != sorted_.rend(); ++it) {
    if (Matches(*it, key, len)) return {it->rec_id};
  }
  return {};
}

}  // namespace nav
