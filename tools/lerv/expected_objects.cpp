#include "tools/lerv/expected_objects.h"

#include <cctype>

#include "tools/lerv/script_batches.h"

namespace lerv {
namespace {

// The name after position at: "[dbo].[name]", "[name]" (with "]]" for "]")
// or a bare word.
std::string NameAt(const std::string& text, size_t at, size_t* end) {
  std::string name;
  size_t i = at;
  for (;;) {
    while (i < text.size() && text[i] == ' ') ++i;
    std::string part;
    if (i < text.size() && text[i] == '[') {
      // A doubled bracket stands for one inside the name.
      size_t close = i + 1;
      for (; close < text.size(); ++close) {
        if (text[close] != ']') {
          part += text[close];
        } else if (close + 1 < text.size() && text[close + 1] == ']') {
          part += text[++close];
        } else {
          break;
        }
      }
      if (close >= text.size()) break;
      i = close + 1;
    } else {
      while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || text[i] == '_')) part += text[i++];
    }
    name = part;
    if (i < text.size() && text[i] == '.') {
      ++i;
      continue;
    }
    break;
  }
  if (end) *end = i;
  return name;
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The column lines of a CREATE TABLE body: "[NAME] type ..." or "RecId type".
std::vector<ExpectedColumn> ColumnsOf(const std::string& body) {
  std::vector<ExpectedColumn> columns;
  size_t at = 0;
  while (at < body.size()) {
    size_t end = body.find('\n', at);
    if (end == std::string::npos) end = body.size();
    std::string line = body.substr(at, end - at);
    at = end + 1;
    size_t i = line.find_first_not_of(" \t,(\r");
    if (i == std::string::npos || Upper(line.substr(i, 10)) == "CONSTRAINT" || line[i] == ')') continue;
    size_t after = 0;
    ExpectedColumn column;
    column.name = NameAt(line, i, &after);
    while (after < line.size() && line[after] == ' ') ++after;
    size_t type_end = after;
    while (type_end < line.size() && line[type_end] != ' ' && line[type_end] != '\r') ++type_end;
    column.type = line.substr(after, type_end - after);
    if (!column.name.empty() && !column.type.empty()) columns.push_back(column);
  }
  return columns;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

}  // namespace

std::vector<ExpectedObject> ExpectedObjects(const std::string& script) {
  struct Form {
    const char* words;
    ExpectedObject::Kind kind;
  };
  static const Form kForms[] = {
      {"CREATE TABLE ", ExpectedObject::Kind::kTable},        {"CREATE VIEW ", ExpectedObject::Kind::kView},
      {"CREATE PROCEDURE ", ExpectedObject::Kind::kProcedure}, {"CREATE FUNCTION ", ExpectedObject::Kind::kFunction},
      {"CREATE TRIGGER ", ExpectedObject::Kind::kTrigger},    {"CREATE INDEX ", ExpectedObject::Kind::kIndex},
      {"CREATE UNIQUE INDEX ", ExpectedObject::Kind::kIndex},
  };
  std::vector<ExpectedObject> objects;
  for (const ScriptBatch& batch : SplitScript(script)) {
    const std::string upper = Upper(batch.text);
    for (const Form& form : kForms) {
      const size_t at = upper.find(form.words);
      if (at == std::string::npos) continue;
      ExpectedObject object{form.kind, "", "", "", {}};
      size_t end = 0;
      object.name = NameAt(batch.text, at + std::string(form.words).size(), &end);
      const size_t on = upper.find(" ON ", end);
      if ((form.kind == ExpectedObject::Kind::kIndex || form.kind == ExpectedObject::Kind::kTrigger) &&
          on != std::string::npos) {
        object.table = NameAt(batch.text, on + 4, nullptr);
      }
      if (form.kind == ExpectedObject::Kind::kTable) {
        const size_t open = batch.text.find('(', end);
        if (open != std::string::npos) object.columns = ColumnsOf(batch.text.substr(open));
      } else if (form.kind != ExpectedObject::Kind::kIndex) {
        object.text = Trimmed(batch.text.substr(at));
      }
      objects.push_back(object);
      break;
    }
  }
  return objects;
}

const char* KindName(ExpectedObject::Kind kind) {
  switch (kind) {
    case ExpectedObject::Kind::kTable: return "Tabelle";
    case ExpectedObject::Kind::kView: return "Sicht";
    case ExpectedObject::Kind::kProcedure: return "Prozedur";
    case ExpectedObject::Kind::kFunction: return "Funktion";
    case ExpectedObject::Kind::kTrigger: return "Trigger";
    case ExpectedObject::Kind::kIndex: return "Index";
  }
  return "";
}

}  // namespace lerv
