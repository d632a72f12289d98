// Structure files of the ISAM engine: the table with its keys as index
// expressions, and the narrow companion table that the server's triggers
// fill (record id and key fields). The index expressions order records as the
// server's key values do: text upper-cased, numbers right-aligned, dates
// year-month-day.
#include <cctype>
#include <stdexcept>
#include <string>
#include <vector>

#include "schema/generators.h"
#include "schema/key_fields.h"

namespace lerv32 {
namespace {

bool HasFilter(const TableDef* td, int key) {
  return td->KeyFilter[key] != nullptr && td->KeyFilter[key][0] != '\0';
}

// The engine's spelling of one escaped character of a key filter.
std::string EscapedText(char escaped) {
  switch (escaped) {
    case '!':
    case '-':
      return ".NOT.";
    case '$':
      return "SUBSTR";
    case '&':
      return ".AND.";
    case '+':
      return "";  // a logical field is a condition of its own
    case '|':
      return ".OR.";
    default:
      return std::string(1, escaped);
  }
}

// A key filter in the engine's expression language.
std::string FilterExpression(const char* filter) {
  std::string expression;
  for (const char* p = filter; *p != '\0'; ++p) {
    if (*p != '\\') {
      expression += *p;
    } else if (p[1] != '\0') {
      expression += EscapedText(*++p);
    }
  }
  return expression;
}

}  // namespace

bool StructureCanCarry(std::string_view name) {
  return !name.empty() && std::isdigit(static_cast<unsigned char>(name.front())) == 0 &&
         name.find_first_of(LERV32_STRUCT_NAME_STOPS) == std::string_view::npos;
}

namespace {

// The name as the member holds it, terminated or not. The files carry it
// bare: a stop character in it would end the field line or the key
// expression early and give the engine other fields than the table has.
std::string NameOf(const FieldDef& field) {
  std::string name(NameText(field.Name));
  if (!StructureCanCarry(name)) {
    throw std::invalid_argument("a field name the structure file cannot carry");
  }
  return name;
}

// A text date holds day, month and year at 1, 4 and 7.
void WriteKeyPart(ScriptWriter& out, const FieldDef& field) {
  const std::string name = NameOf(field);
  if (field.Type == 'D') {
    out.Format("SUBSTR(%s,7,4)+\"-\"+SUBSTR(%s,4,2)+\"-\"+SUBSTR(%s,1,2)", name.c_str(), name.c_str(), name.c_str());
  } else if (field.Type == 'N') {
    out.Format("STR(%s,%d,%d)", name.c_str(), field.Len, field.Dec);
  } else {
    out.Put(name);
  }
}

void WriteFieldLine(ScriptWriter& out, const FieldDef& field) {
  const std::string name = NameOf(field);
  if (field.Type == 'L') {
    out.Format("%s=L;1;0;\r\n", name.c_str());
  } else if (field.Type == 'N') {
    out.Format("%s=N;%d;%d;\r\n", name.c_str(), field.Len, field.Dec);
  } else {
    out.Format("%s=C;%d;0;\r\n", name.c_str(), field.Len);
  }
}

// expressions: whether a key's fields become the engine's ordering
// expressions or stay bare names.
void WriteKeyExpression(ScriptWriter& out, const TableDef* td, int key, bool expressions) {
  out.Format("Key%02d=UPPER(", key);
  const char* separator = "";
  for (const FieldDef* field : KeyFields(td, key)) {
    out.Put(separator);
    separator = "+";
    if (expressions) {
      WriteKeyPart(out, *field);
    } else {
      out.Put(NameOf(*field));
    }
  }
}

bool InAnyKey(const TableDef* td, const FieldDef& field) {
  for (int k = 0; k < KeysInUse(td); ++k) {
    for (const FieldDef* key_field : KeyFields(td, k)) {
      if (key_field == &field) return true;
    }
  }
  return false;
}

// The companion table keeps what its keys need; dates in eight characters.
void WriteTriggerFieldLine(ScriptWriter& out, const FieldDef& field) {
  switch (field.Type) {
    case 'C':
    case 'N':
    case 'c':
    case 'u':
      out.Format("%s=C;%d;0;\r\n", NameOf(field).c_str(), field.Len);
      break;
    case 'D':
    case 'o':
      out.Format("%s=C;8;0;\r\n", NameOf(field).c_str());
      break;
    default:
      break;
  }
}

}  // namespace

void WriteCodebaseStruct(ScriptWriter& out, const TableDef* td) {
  out.Format("; Strukturdatei fuer Codebase-Datenhaltung\r\n; Tabelle %s\r\n; Tab-Nr. %d\r\n",
             std::string(NameText(td->TableName)).c_str(), td->ExLevel);
  out.Put("\r\n[Fields]\r\n");
  for (int i = 0; i < FieldsInUse(td); ++i) WriteFieldLine(out, td->Fields[i]);
  out.Put("\r\n[Keys]\r\n");
  for (int k = 0; k < KeysInUse(td); ++k) {
    WriteKeyExpression(out, td, k, true);
    if (HasFilter(td, k)) {
      out.Put(");(.NOT.DELETED()).AND.(");
      out.Put(FilterExpression(td->KeyFilter[k]));
      out.Put(");\r\n");
    } else {
      out.Put("); .NOT. DELETED();\r\n");
    }
  }
}

void WriteTriggerStruct(ScriptWriter& out, const TableDef* td) {
  out.Format("; Strukturdatei fuer SQL-Server-Trigger\r\n; Tabelle %s\r\n; Trigger %d\r\n",
             std::string(NameText(td->TableName)).c_str(), td->ExLevel);
  out.Put("\r\n[Fields]\r\n__RecId__=C;8;0;\r\n");
  for (int i = 0; i < FieldsInUse(td); ++i) {
    if (InAnyKey(td, td->Fields[i])) WriteTriggerFieldLine(out, td->Fields[i]);
  }
  out.Put("\r\n[Keys]\r\nERecId=__RecId__; .NOT. DELETED();\r\n");
  for (int k = 0; k < KeysInUse(td); ++k) {
    WriteKeyExpression(out, td, k, false);
    out.Put("); .NOT. DELETED();\r\n");
  }
}

}  // namespace lerv32
