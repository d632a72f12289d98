// A table definition loaded from its file and checked line by line: the
// library's loader passes over what it cannot use, a tool must say so.
#pragma once

#include <memory>
#include <string>

#include "include/lerv32.h"

namespace lerv {

struct TableDefFree {
  void operator()(TableDef* td) const { rv_FreeTableDef(td); }
};
using TableDefPtr = std::unique_ptr<TableDef, TableDefFree>;

class Definition {
 public:
  // Throws Failure naming the file and line of the first entry that does
  // not take.
  explicit Definition(const std::string& path);

  TableDef* get() const { return td_.get(); }
  const std::string& path() const { return path_; }
  std::string table() const;

 private:
  std::string path_;
  TableDefPtr td_;
};

// The number of the key of that name; throws Failure listing the keys.
int32_t KeyNumber(const Definition& definition, const std::string& name);

}  // namespace lerv
