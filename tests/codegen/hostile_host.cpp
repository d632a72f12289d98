// A host program built on the header generated for a definition whose names
// are no identifiers: it compiles, its classes and accessors carry the names
// written as identifiers, and its string literals hold the names byte for
// byte (field names, the export line's table name, the XML tag).
#include <cstdio>
#include <string>

#include "codegen/host_stand_ins.h"
#include "codegen/hostile_definition.h"

using T3Ktext10 = T3Field<10>;

#define GEN_CODE_TAB_DATA_CLASS_ALL
#define TAB_DATA_DEBUG
#define long int32_t
#pragma GCC diagnostic push
#if defined(__clang__)
#pragma GCC diagnostic ignored "-Wwritable-strings"
#else
#pragma GCC diagnostic ignored "-Wwrite-strings"
#endif
#include "HOSTILE.h"
#pragma GCC diagnostic pop
#undef long

// The table name "EVIL2];DROP TABLE OPFER;--" as part of identifiers.
using Record = c_EVIL2_5D_3BDROP_20TABLE_20OPFER_3B_2D_2D;

int main() {
  const hostile::DefinitionPtr td = hostile::Definition();
  if (!td) return 2;
  Record record;
  Check(record.CheckCompilerType() && message_boxes == 0, "the class is as large as its fields");
  Check(record.GetNumFields() == rv_FieldCnt(td.get()) && record.GetNumKeys() == 1, "numbers of fields and keys");
  for (int i = 0; i < rv_FieldCnt(td.get()); ++i) {
    const std::string name = rv_FieldName(td.get(), i);
    Check(record.GetFieldName(i) == name, "name of " + name);
    const char* address = static_cast<const char*>(record.GetFieldAddr(i));
    Check(address - static_cast<const char*>(record.GetDataAddr()) == rv_FieldOffset(td.get(), i), "offset of " + name);
  }
  // Accessors of "a b", "M<umlaut>ller" and "Datum ]".
  char text[8192] = "xy", umlaut[] = "\x81";
  record.sSeta_20b(text);
  record.sSetM_81ller(umlaut);
  record.SetDatum_20_5D(20240229);
  Check(std::string(record.lpa_20b(), 3) == "xy " && record.lpM_81ller()[0] == '\x81', "text accessors");
  Check(record.GetKeySize(0) == 20, "key size");
  std::string key(21, '#');
  Check(record.MakeKey(0, &key[0]) == 20 && key.substr(0, 13) == "2024-02-29xy ", "key of the date and \"a b\"");
  record.GenExport(text);
  Check(std::string(text).rfind(std::string(hostile::kDropOpfer) + "\t", 0) == 0, "export line starts with the table");
  Record copy;
  Check(copy.GetImport(text) == TRUE && Bytes(copy) == Bytes(record), "the export line reads back");
  record.GenXML(text, nullptr, 2, TRUE, TRUE);
  Check(std::string(text).rfind("<" + std::string(hostile::kDropOpfer) + ">", 0) == 0, "the table is the XML tag");
  std::printf("%d failed\n", failed);
  return failed == 0 ? 0 : 1;
}
