#include "sqlsim/odbc/catalog_functions.h"

#include "sqlsim/odbc/out_string.h"
#include "sqlsim/odbc/text_codec.h"

namespace sqlsim::odbc {

namespace {

// An identifier argument: quotes removed, trailing blanks do not count.
std::string Identifier(std::string_view text) {
  if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
    return std::string(text.substr(1, text.size() - 2));
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

bool ReadName(Stmt& s, const NameInput& input, ArgumentKind kind, NullRule rule, NameArgument* out) {
  bool identifiers = s.attrs.metadata_id == SQL_TRUE;
  if (!input.text) {
    if (rule == NullRule::kRequired || (rule == NullRule::kRequiredForIdentifiers && identifiers)) {
      s.diags.AddDriver("HY009", "Invalid use of null pointer");
      return false;
    }
    *out = NameArgument::Any();
    return true;
  }
  if (input.length < 0 && input.length != SQL_NTS) {
    s.diags.AddDriver("HY090", "Invalid string or buffer length");
    return false;
  }
  std::string name = NameFromClient(InString(input.text, input.length));
  std::string_view text = name;
  if (identifiers) {
    *out = NameArgument::Exact(Identifier(text));
  } else if (kind == ArgumentKind::kPattern) {
    *out = NameArgument::Pattern(std::string(text));
  } else {
    *out = NameArgument::Exact(std::string(text));
  }
  return true;
}

bool StartCatalogCall(Stmt& s, CatalogRequest* request) {
  if (s.cursor || s.state == StmtState::kNeedData) {
    s.diags.AddDriver(s.cursor ? "24000" : "HY010", s.cursor ? "Invalid cursor state" : "Function sequence error");
    return false;
  }
  if (!s.dbc->session) {
    s.diags.AddDriver("08003", "Connection not open");
    return false;
  }
  bool odbc2 = s.odbc_version() == kOdbc2;
  request->shape = odbc2 ? CatalogShape::kOdbc2 : CatalogShape::kOdbc3;
  request->odbc3_types = !odbc2;
  return true;
}

SQLRETURN OpenCatalogResult(Stmt& s, const CatalogRequest& request) {
  s.CloseResults();
  s.batch.reset();
  s.prepared = false;
  s.row_count = -1;
  s.state = StmtState::kAllocated;
  Diagnostics diags;
  std::unique_ptr<RowSource> rows = s.dbc->session->QueryCatalog(request, &diags);
  if (rows) {
    s.cursor = Cursor::Open(std::move(rows), s.attrs.cursor_type != SQL_CURSOR_FORWARD_ONLY, s.attrs.max_rows, &diags);
  }
  s.diags.AddServer(diags);
  if (!s.cursor) return SQL_ERROR;
  s.diags.cursor_row_count = s.cursor->known_rows();
  s.state = StmtState::kExecuted;
  return s.diags.empty() ? SQL_SUCCESS : SQL_SUCCESS_WITH_INFO;
}

}  // namespace sqlsim::odbc
