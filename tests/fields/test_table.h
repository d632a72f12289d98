// Table definitions for the tests, and buffers between guard bytes.
#ifndef LERV32_TESTS_FIELDS_TEST_TABLE_H
#define LERV32_TESTS_FIELDS_TEST_TABLE_H

#include <initializer_list>
#include <string>

#include "include/lerv32.h"
#include "support/table_defs.h"

namespace testtable {

// Fields come through rv_AddField; where it would change the letter or the
// width (c, binaries narrower than their type) they are patched back, so that
// every field can be tried.
class TestTable {
 public:
  int Add(char type, int len, int dec = 0) {
    const std::string name = "F" + std::to_string(td_->FieldCnt);
    rv_AddField(td(), name.c_str(), type, len, dec);
    FieldDef& f = td_->Fields[td_->FieldCnt - 1];  // the last one: nothing behind it moves
    f.Type = static_cast<uint8_t>(type);
    f.Len = static_cast<uint16_t>(len);
    f.Dec = static_cast<uint8_t>(dec);
    return td_->FieldCnt - 1;
  }
  // By hand: a position may name a field that does not exist.
  void AddKey(std::initializer_list<int> fields) {
    KeyDef& k = td_->Keys[td_->KeyCnt++];
    for (int field : fields) k.TokenFieldNo[k.TokenCnt++] = static_cast<uint8_t>(field);
  }
  TableDef* td() { return td_.get(); }

 private:
  testenv::TableDefPtr td_ = testenv::NewTableDef();
};

// size bytes with sentinels on both sides that nothing may touch.
class GuardedBuffer {
 public:
  explicit GuardedBuffer(std::size_t size, char fill = ' ')
      : bytes_(Guard() + std::string(size, fill) + Guard()), size_(size) {}
  explicit GuardedBuffer(const std::string& content) : GuardedBuffer(content.size()) {
    content.copy(data(), content.size());
  }
  char* data() { return &bytes_[kGuard]; }
  std::string Value() const { return bytes_.substr(kGuard, size_); }
  bool Intact() const {
    return bytes_.compare(0, kGuard, Guard()) == 0 &&
           bytes_.compare(kGuard + size_, kGuard, Guard()) == 0;
  }

 private:
  static constexpr std::size_t kGuard = 8;
  static std::string Guard() { return std::string(kGuard, '\xA5'); }
  std::string bytes_;
  std::size_t size_;
};

inline std::string Bytes(double value) {
  return std::string(reinterpret_cast<const char*>(&value), sizeof value);
}

}  // namespace testtable

#endif  // LERV32_TESTS_FIELDS_TEST_TABLE_H
