#include "tools/lerv/query.h"

#include <algorithm>
#include <memory>

#include <fmt/format.h>

#include "tools/lerv/database.h"
#include "tools/lerv/failure.h"

namespace lerv {
namespace {

struct CursorClose {
  void operator()(void* cursor) const { rv_StmtClose(static_cast<LERV32_CURSOR>(cursor)); }
};

}  // namespace

Rows Query(const Database& database, const std::string& sql) {
  std::unique_ptr<void, CursorClose> cursor(rv_StmtOpenSQL(database.handle(), sql.c_str(), nullptr, DB_OPEN_RECORDBUF));
  if (!cursor) throw Failure(fmt::format("Abfrage fehlgeschlagen: {}", sql));
  LERV32_CURSOR handle = static_cast<LERV32_CURSOR>(cursor.get());
  const TableDef* structure = rv_StmtGetStructure(handle);
  Rows rows;
  for (int32_t code = DB_GETFIRST; rv_StmtFetch(handle, nullptr, code); code = DB_GETNEXT) {
    const char* rec = static_cast<const char*>(rv_StmtGetRecordPtr(handle));
    std::vector<std::string> row;
    for (int32_t i = 0; i < rv_FieldCnt(structure); ++i) {
      std::string text(std::max<size_t>(structure->Fields[i].Len, 20) + 1, '\0');
      rv_FieldToString(structure, i, rec, text.data());
      row.emplace_back(text.c_str());
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

std::string Literal(const std::string& text) {
  std::string literal = "'";
  for (char c : text) literal += c == '\'' ? std::string("''") : std::string(1, c);
  return literal + "'";
}

std::string ObjectIdLiteral(const std::string& name) {
  std::string bracketed = "[dbo].[";
  for (char c : name) bracketed += c == ']' ? std::string("]]") : std::string(1, c);
  return Literal(bracketed + "]");
}

}  // namespace lerv
