// A host program built on the header generated for the "kunde" sample. The
// class must be exactly its record, answer by number as the definition does,
// build the library's keys (with dates year-month-day), and carry its values
// through the library's conversions, export lines and XML.
#include <cmath>
#include <cstdio>
#include <iterator>
#include <memory>
#include <string>

#include "codegen/host_stand_ins.h"
#include "schema/sample_defs.h"

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

void CheckLayout(const TableDef* td, c_KUNDE& record) {
  const int fields = rv_FieldCnt(td);
  Check(record.CheckCompilerType() && message_boxes == 0, "the class is as large as its fields");
  Check(record.GetDataSize() == rv_FieldOffset(td, fields - 1) + rv_FieldLen(td, fields - 1), "record size");
  Check(record.GetNumFields() == fields && record.GetNumKeys() == rv_KeyCnt(td), "numbers of fields and keys");
  for (int i = 0; i < fields; ++i) {
    const std::string field = rv_FieldName(td, i);
    Check(field == record.GetFieldName(i) && record.GetFieldType(i) == rv_FieldType(td, i) &&
              record.GetFieldLen(i) == rv_FieldLen(td, i) && record.GetFieldDec(i) == rv_FieldDec(td, i),
          "name, type, length and decimals of " + field);
    const char* address = static_cast<const char*>(record.GetFieldAddr(i));
    Check(address - static_cast<const char*>(record.GetDataAddr()) == rv_FieldOffset(td, i), "offset of " + field);
  }
  Check(record.GetFieldName(fields) == nullptr && record.GetFieldAddr(fields) == nullptr &&
            record.GetFieldLen(fields) == 0,
        "no field past the last");
  // A new record holds what the library writes for empty texts.
  std::string empty = Bytes(record);
  for (int i = 0; i < fields; ++i) rv_FieldFromString(td, i, &empty[0], "");
  Check(Bytes(record) == empty, "a new record holds empty values");
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

// What the setters wrote, as the library reads it, and as the getters do.
void CheckValues(const TableDef* td, c_KUNDE& record) {
  const char* const expected[] = {"4711",   "MEIER", "Hamburg", "A",      "2023-12-24", "1",          "200",
                                  "1234.50", "-12",   "123456789", "1.2345", "-3",     "-12.34", "-1000",
                                  "1999-12-31", "Notiz"};
  Check(rv_FieldCnt(td) == static_cast<int>(std::size(expected)), "values for every field");
  char text[64];
  for (int i = 0; i < rv_FieldCnt(td) && i < static_cast<int>(std::size(expected)); ++i) {
    const std::string value = rv_FieldToString(td, i, static_cast<const char*>(record.GetDataAddr()), text);
    Check(value == expected[i], std::string("value of ") + rv_FieldName(td, i) + ": " + value);
  }
  record.cGetORT(text, 4);
  Check(std::string(text) == "Ham", "cGetORT keeps to the buffer");
  record.sGetDATUM(text);
  Check(std::string(text) == "24.12.2023", "sGetDATUM");
  Check(record.GetNR() == 4711 && record.GetALTDAT() == 19991231 && record.GetBIN() == -1000, "whole numbers back");
  Check(record.GetDATUM() == 20231224 && record.GetAKTIV() && record.GetSTUFE() == 200 && record.GetMENGE() == -12 &&
            record.GetGROSS() == 123456789 && record.GetANZAHL() == -3 && std::fabs(record.GetKURS() - 1.2345) < 1e-9,
        "getters of every type");
  record.sGetNAME(text);
  Check(std::string(text) == "MEIER", "sGetNAME");
  Check(std::fabs(record.GetBETRAG() - 1234.5) + std::fabs(record.GetPACKED() + 12.34) < 1e-9, "fractions back");
}

// Every key is the library's key with its text dates turned year-month-day;
// none past the last.
void CheckKeys(const TableDef* td, c_KUNDE& record) {
  for (int k = 0; k <= rv_KeyCnt(td); ++k) {
    std::string expected;
    if (k < rv_KeyCnt(td)) {
      expected.assign(512, '\0');
      expected.resize(static_cast<std::size_t>(
          rv_MakeKeyFromRecord(td, k, static_cast<const char*>(record.GetDataAddr()), &expected[0])));
    }
    std::size_t at = 0;
    for (int t = 0; k < rv_KeyCnt(td) && t < rv_KeyTokenCnt(td, k); ++t) {
      const int field = rv_KeyTokenFieldNo(td, k, t);
      const std::string d = expected.substr(at, 10);
      const std::string ymd = d.size() < 10 ? d : d.substr(6, 4) + "-" + d.substr(3, 2) + "-" + d.substr(0, 2);
      if (rv_FieldType(td, field) == 'D') expected.replace(at, 10, ymd);
      at += static_cast<std::size_t>(rv_FieldLen(td, field));
    }
    std::string key(expected.size() + 1, '#');
    const int length = record.MakeKey(k, &key[0]);
    const std::string what = " of key " + std::to_string(k);
    Check(length == static_cast<int>(expected.size()) && record.GetKeySize(k) == length, "size" + what);
    Check(key == expected + "#", "bytes" + what);
  }
}

bool EndsWith(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// The export line and the XML read back through the class's own import,
// which checks the table name first.
void CheckExportAndXml(c_KUNDE& record) {
  static char text[8192];
  record.GenExport(text);
  Check(std::string(text).rfind("KUNDE\t4711\tMEIER\tHamburg\tA\t2023-12-24\t", 0) == 0, "export line");
  c_KUNDE copy;
  Check(copy.GetImport(text) == TRUE && Bytes(copy) == Bytes(record), "the export line reads back");
  std::string other = text;
  other.replace(0, 5, "OTHER");
  Check(copy.GetImport(&other[0]) == FALSE, "a line of another table is refused");
  record.GenXML(text, nullptr, 2, TRUE, TRUE);
  const std::string subtags = text;
  Check(subtags.rfind("<KUNDE>\r\n  <NR>4711</NR>\r\n  <NAME>MEIER</NAME>\r\n", 0) == 0, "XML with subtags");
  Check(EndsWith(subtags, "  <NOTIZ>Notiz</NOTIZ>\r\n</KUNDE>\r\n"), "XML with subtags closed");
  c_KUNDE scanned;
  scanned.ScanXML(leXML(subtags), TRUE);
  Check(Bytes(scanned) == Bytes(record), "XML with subtags reads back");
  record.GenXML(text, nullptr, 1, TRUE, TRUE);
  const std::string attributes = text;
  Check(attributes.rfind("<KUNDE NR=\"4711\" NAME=\"MEIER\" ORT=\"Hamburg\"", 0) == 0, "XML with attributes");
  Check(EndsWith(attributes, " NOTIZ=\"Notiz\">\r\n</KUNDE>\r\n"), "XML with attributes closed");
}

}  // namespace

int main() {
  // The sample's definition as the library loads it from a file.
  std::string text;
  for (const std::string& line : samples::All()[0].lines) text += line + "\r\n";
  std::FILE* file = std::fopen("kunde_host.def", "wb");
  if (file == nullptr || std::fputs(text.c_str(), file) < 0 || std::fclose(file) != 0) return 2;
  std::unique_ptr<TableDef, void (*)(TableDef*)> td(rv_AllocTableDef(), [](TableDef* t) { rv_FreeTableDef(t); });
  const bool loaded = rv_LoadTableDef(td.get(), "kunde_host.def") == 1;
  std::remove("kunde_host.def");
  if (!loaded) return 2;
  c_KUNDE record;
  CheckLayout(td.get(), record);
  Fill(record);
  CheckValues(td.get(), record);
  CheckKeys(td.get(), record);
  CheckExportAndXml(record);
  std::printf("%d failed\n", failed);
  return failed == 0 ? 0 : 1;
}
