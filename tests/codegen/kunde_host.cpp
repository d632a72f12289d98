// A host program built on the header generated for the "kunde" sample. The
// class must be exactly its record, answer by number as the definition does,
// build the library's keys (with dates year-month-day), and carry its values
// through the library's conversions, export lines and XML.
// Usage: cpp_class_host <definition file of the sample>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>

#include "codegen/host_stand_ins.h"

#define GEN_CODE_FOR_KUNDE
#define TAB_DATA_DEBUG

// The generated text is fixed. It is written for 32-bit Windows, where long
// has the 32 bits of the fields it overlays, and it returns string literals
// as LPSTR, which this one warning rejects; it stays on for the rest.
#define long int32_t
#pragma GCC diagnostic push
#if defined(__clang__)
#pragma GCC diagnostic ignored "-Wwritable-strings"
#else
#pragma GCC diagnostic ignored "-Wwrite-strings"
#endif
#include "KUNDE.h"
#pragma GCC diagnostic pop
#undef long

namespace {

int passed = 0;
int failed = 0;

void Check(bool ok, const std::string& what) {
  if (ok) {
    ++passed;
  } else {
    ++failed;
    std::printf("FAILED: %s\n", what.c_str());
  }
}

struct TableDefFree {
  void operator()(TableDef* td) const { rv_FreeTableDef(td); }
};
using TableDefPtr = std::unique_ptr<TableDef, TableDefFree>;

const char* Record(c_KUNDE& record) { return static_cast<const char*>(record.GetDataAddr()); }
std::string Bytes(c_KUNDE& record) { return std::string(Record(record), static_cast<std::size_t>(record.GetDataSize())); }

void CheckLayout(const TableDef* td, c_KUNDE& record) {
  const int fields = rv_FieldCnt(td);
  Check(record.CheckCompilerType(), "the class is as large as its fields");
  Check(record.GetDataSize() == rv_FieldOffset(td, fields - 1) + rv_FieldLen(td, fields - 1), "record size");
  Check(record.GetNumFields() == fields, "number of fields");
  Check(record.GetNumKeys() == rv_KeyCnt(td), "number of keys");
  for (int i = 0; i < fields; ++i) {
    const std::string field = rv_FieldName(td, i);
    Check(field == record.GetFieldName(i), "name of field " + std::to_string(i));
    Check(record.GetFieldType(i) == rv_FieldType(td, i), "type of " + field);
    Check(record.GetFieldLen(i) == rv_FieldLen(td, i), "length of " + field);
    Check(record.GetFieldDec(i) == rv_FieldDec(td, i), "decimals of " + field);
    const char* address = static_cast<const char*>(record.GetFieldAddr(i));
    Check(address - Record(record) == rv_FieldOffset(td, i), "offset of " + field);
  }
  Check(record.GetFieldName(fields) == nullptr && record.GetFieldAddr(fields) == nullptr &&
            record.GetFieldLen(fields) == 0,
        "no field past the last");
}

// A new record holds what the library writes for empty texts.
void CheckInit(const TableDef* td) {
  c_KUNDE fresh;
  std::string empty(static_cast<std::size_t>(fresh.GetDataSize()), '#');
  for (int i = 0; i < rv_FieldCnt(td); ++i) rv_FieldFromString(td, i, &empty[0], "");
  Check(Bytes(fresh) == empty, "a new record holds empty values");
}

void Fill(c_KUNDE& record) {
  char name[] = "Meier", city[] = "Hamburg", mark[] = "A", note[] = "Notiz";
  record.SetNR(4711);
  record.sSetNAME(name);
  record.sSetORT(city);
  record.sSetKZ(mark);
  record.SetDATUM(20231224);
  record.SetAKTIV(TRUE);
  record.SetSTUFE(200);
  record.SetBETRAG(1234.5);
  record.SetMENGE(-12);
  record.SetGROSS(123456789);
  record.SetKURS(1.2345);
  record.SetANZAHL(-3);
  record.SetPACKED(-12.34);
  record.SetBIN(-1000);
  record.SetALTDAT(19991231);
  record.sSetNOTIZ(note);
}

// What the setters wrote, as the library reads it.
void CheckValues(const TableDef* td, c_KUNDE& record) {
  const char* const expected[] = {"4711",   "MEIER", "Hamburg", "A",      "2023-12-24", "1",          "200",
                                  "1234.50", "-12",   "123456789", "1.2345", "-3",     "-12.34", "-1000",
                                  "1999-12-31", "Notiz"};
  Check(rv_FieldCnt(td) == static_cast<int>(std::size(expected)), "values for every field");
  char text[64];
  for (int i = 0; i < rv_FieldCnt(td) && i < static_cast<int>(std::size(expected)); ++i) {
    const std::string value = rv_FieldToString(td, i, Record(record), text);
    Check(value == expected[i], std::string("value of ") + rv_FieldName(td, i) + ": " + value);
  }
}

bool Near(double a, double b) { return std::fabs(a - b) < 1e-9; }

void CheckGetters(c_KUNDE& record) {
  char text[64];
  record.sGetNAME(text);
  Check(std::string(text) == "MEIER", "sGetNAME");
  record.cGetORT(text, 4);
  Check(std::string(text) == "Ham", "cGetORT keeps to the buffer");
  record.sGetDATUM(text);
  Check(std::string(text) == "24.12.2023", "sGetDATUM");
  Check(record.GetNR() == 4711 && record.GetDATUM() == 20231224 && record.GetALTDAT() == 19991231, "long getters");
  Check(record.GetMENGE() == -12 && record.GetGROSS() == 123456789 && record.GetBIN() == -1000, "number getters");
  Check(record.GetAKTIV() == TRUE && record.GetSTUFE() == 200 && record.GetANZAHL() == -3, "small getters");
  Check(Near(record.GetBETRAG(), 1234.5) && Near(record.GetKURS(), 1.2345) && Near(record.GetPACKED(), -12.34),
        "double getters");
}

// The library's key value with every text date turned year-month-day.
std::string ExpectedKey(const TableDef* td, int key, const char* rec) {
  std::string value(512, '\0');
  value.resize(static_cast<std::size_t>(rv_MakeKeyFromRecord(td, key, rec, &value[0])));
  std::size_t at = 0;
  for (int t = 0; t < rv_KeyTokenCnt(td, key); ++t) {
    const int field = rv_KeyTokenFieldNo(td, key, t);
    if (rv_FieldType(td, field) == 'D') {
      const std::string date = value.substr(at, 10);
      value.replace(at, 10, date.substr(6, 4) + "-" + date.substr(3, 2) + "-" + date.substr(0, 2));
    }
    at += static_cast<std::size_t>(rv_FieldLen(td, field));
  }
  return value;
}

void CheckKeys(const TableDef* td, c_KUNDE& record) {
  for (int k = 0; k < rv_KeyCnt(td); ++k) {
    const std::string name = rv_KeyName(td, k);
    const std::string expected = ExpectedKey(td, k, Record(record));
    std::string key(expected.size() + 1, '#');
    const int length = record.MakeKey(k, &key[0]);
    Check(length == static_cast<int>(expected.size()) && record.GetKeySize(k) == length, "size of " + name);
    Check(key == expected + "#", "bytes of " + name);
  }
  Check(record.GetKeySize(rv_KeyCnt(td)) == 0, "no key past the last");
  char date_key[64];
  record.MakeKey(rv_KeyNo(td, "DATUM_KEY"), date_key);
  Check(std::string(date_key, 10) == "2023-12-24", "a date in a key runs year-month-day");
}

// The export line reads back through the class's own import, which checks
// the table name first.
void CheckExport(c_KUNDE& record) {
  char line[2048];
  record.GenExport(line);
  Check(std::string(line).rfind("KUNDE\t4711\tMEIER\tHamburg\tA\t2023-12-24\t", 0) == 0, "export line");
  c_KUNDE copy;
  Check(copy.GetImport(line) == TRUE, "the export line is taken");
  Check(Bytes(copy) == Bytes(record), "the export line reads back");
  std::string other = line;
  other.replace(0, 5, "OTHER");
  Check(copy.GetImport(&other[0]) == FALSE, "a line of another table is refused");
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void CheckXml(c_KUNDE& record) {
  static char xml[8192];
  record.GenXML(xml, nullptr, 2, TRUE, TRUE);
  const std::string subtags = xml;
  Check(subtags.rfind("<KUNDE>\r\n  <NR>4711</NR>\r\n  <NAME>MEIER</NAME>\r\n", 0) == 0, "XML with subtags");
  Check(EndsWith(subtags, "  <NOTIZ>Notiz</NOTIZ>\r\n</KUNDE>\r\n"), "XML with subtags closed");
  c_KUNDE copy;
  copy.ScanXML(leXML(subtags), TRUE);
  Check(Bytes(copy) == Bytes(record), "XML with subtags reads back");

  record.GenXML(xml, nullptr, 1, TRUE, TRUE);
  const std::string attributes = xml;
  Check(attributes.rfind("<KUNDE NR=\"4711\" NAME=\"MEIER\" ORT=\"Hamburg\"", 0) == 0, "XML with attributes");
  Check(EndsWith(attributes, " NOTIZ=\"Notiz\">\r\n</KUNDE>\r\n"), "XML with attributes closed");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s definition-file\n", argv[0]);
    return 2;
  }
  const TableDefPtr td(rv_AllocTableDef());
  if (!td || rv_LoadTableDef(td.get(), argv[1]) != 1) {
    std::printf("cannot load %s\n", argv[1]);
    return 1;
  }
  c_KUNDE record;
  CheckLayout(td.get(), record);
  CheckInit(td.get());
  Fill(record);
  CheckValues(td.get(), record);
  CheckGetters(record);
  CheckKeys(td.get(), record);
  CheckExport(record);
  CheckXml(record);
  Check(message_boxes == 0, "Init found the class of the right size");
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
