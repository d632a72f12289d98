// An independent model of what the navigation procedures must return: the
// records sorted as the server orders them, walked in C++.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace nav {

// A key field as the table definition has it: C/u/c text, N number, D date.
struct KeyField {
  std::string name;
  char type = 'C';
  int len = 0;
  int dec = 0;
};

// Text values as stored (dates as yyyy-mm-dd); numbers in number.
struct Value {
  std::string text;
  double number = 0;
};

struct Record {
  int32_t rec_id = 0;
  std::map<std::string, Value> fields;
};

using RecIds = std::vector<int64_t>;

// Windows-1252 upper case, as the server's UPPER and collation fold.
std::string Upper1252(const std::string& text);
// STR(value, len, dec): right-aligned, rounded; asterisks when too long.
std::string StrNumber(double value, int len, int dec);
// Text cut or blank-padded to len.
std::string Padded(const std::string& text, size_t len);
// Case-insensitive, trailing blanks ignored, then unsigned byte order.
int CompareCollated(const std::string& a, const std::string& b);

// The key fields' values laid end to end, each in its field's width, as the
// host builds a search key; upper case when composed is true, which is also
// the layout of the key table (numbers as the library composes them, dates
// yyyy-mm-dd).
std::string SearchKey(const std::vector<KeyField>& key, const Record& record, bool composed);

// The key-table form: values UPPER(parts) + STR(RecId,10) of the records in
// the key table, ordered by value, restricted by the key's filter.
class KeyTableModel {
 public:
  using Filter = std::function<bool(const Record&)>;
  KeyTableModel(std::vector<KeyField> key, const std::vector<Record>& records, Filter filter = nullptr,
                std::set<int32_t> missing = {});

  std::string ComposedValue(const Record& record) const;
  RecIds Order() const;  // every visible record, ascending
  RecIds First() const;
  RecIds Last() const;
  RecIds Next(int64_t rec_id, size_t count = 1) const;
  RecIds Prior(int64_t rec_id, size_t count = 1) const;
  RecIds FindF(const std::string& key, int len) const;
  RecIds FindL(const std::string& key, int len) const;

 private:
  const std::string* ValueOf(int64_t rec_id) const;

  std::vector<KeyField> key_;
  std::map<int64_t, std::string> all_values_;                 // key table rows, filtered or not
  std::vector<std::pair<std::string, int64_t>> visible_;  // ascending
};

// The direct form: the data rows ordered by the key columns, then RecId;
// next, prior and a too long prefix answer one row with 0.
class DirectModel {
 public:
  DirectModel(std::vector<KeyField> key, std::vector<Record> records);

  RecIds Order() const;
  RecIds First() const;
  RecIds Last() const;
  RecIds Next(int64_t rec_id) const;
  RecIds Prior(int64_t rec_id) const;
  // The prefix must end inside a text field or at a field's end.
  RecIds FindF(const std::string& key, int len) const;
  RecIds FindL(const std::string& key, int len) const;
  int KeySize() const;

 private:
  bool Matches(const Record& record, const std::string& key, int len) const;

  std::vector<KeyField> key_;
  std::vector<Record> sorted_;
};

}  // namespace nav
