// Definitions, field values and generators on a valid definition, with
// every other argument hostile in turn: null pointers, numbers that name no
// field or key, sizes of zero and below, texts that fill their stated size
// without a terminator.
#include <filesystem>

#include "hostile/hostile.h"

namespace hostile {
namespace {

using Td = TableDef*;

// Runs body on a fresh valid definition; the definition must come out as it
// went in unless changes is set.
Row On(const char* name, const char* variant, const char* expected, std::function<std::string(World&, Td)> body,
       bool changes = false) {
  return {name, variant, expected, [body, changes](World& w) {
            World::TableDefPtr td = w.Valid();
            const std::string before(reinterpret_cast<const char*>(td.get()), sizeof(TableDef));
            std::string result = body(w, td.get());
            if (!changes && std::string(reinterpret_cast<const char*>(td.get()), sizeof(TableDef)) != before) {
              result += " (definition changed)";
            }
            return result;
          }};
}

Rows Definitions() {
  return {
      {"rv_AllocTableDef", "no arguments to spoil", "ptr",
       [](World&) {
         TableDef* td = rv_AllocTableDef();
         const std::string result = Ptr(td);
         rv_FreeTableDef(td);
         return result;
       }},
      {"rv_FreeTableDef", "null", "void",
       [](World&) {
         rv_FreeTableDef(nullptr);
         return std::string("void");
       }},
      {"rv_FreeTableDef", "-1", "void",
       [](World&) {
         rv_FreeTableDef(static_cast<TableDef*>(MinusOne()));
         return std::string("void");
       }},
      {"rv_FreeTableDef", "freed already", "void blocks kept",
       [](World&) {
         TableDef* td = rv_AllocTableDef();
         rv_FreeTableDef(td);
         const int32_t blocks = rv_GetMemUsage(1);
         rv_FreeTableDef(td);
         return Join({std::string("void"), (rv_GetMemUsage(1) == blocks ? " blocks kept" : " blocks freed")});
       }},
      {"rv_FreeTableDef", "the host's own TableDef", "void untouched",
       [](World&) {
         TableDef own{};
         own.FieldCnt = 3;
         rv_FreeTableDef(&own);
         return Join({std::string("void"), (own.FieldCnt == 3 ? " untouched" : " cleared")});
       }},
      On("rv_AddField", "null name", "0", [](World&, Td td) { return Num(rv_AddField(td, nullptr, 'C', 5, 0)); }),
      On(
          "rv_AddField", "name of 15 characters, unterminated", "1 'ABCDEFGHIJKLMNO'",
          [](World&, Td td) {
            const int32_t added = rv_AddField(td, Unterminated("ABCDEFGHIJKLMNO").get(), 'C', 5, 0);
            return Join({Num(added), " ", Text(rv_FieldName(td, 5))});
          },
          true),
      On(
          "rv_AddField", "width -1 (normalised: the low byte, as width 300 gives 44)", "1 255",
          [](World&, Td td) {
            return Join({Num(rv_AddField(td, "W", 'C', -1, 0)), " ", Num(rv_FieldLen(td, 5))});
          },
          true),
      On(
          "rv_AddField", "decimals -1 (normalised to 0)", "1 0",
          [](World&, Td td) {
            return Join({Num(rv_AddField(td, "W", 'N', 8, -1)), " ", Num(rv_FieldDec(td, 5))});
          },
          true),
      On(
          "rv_AddField", "129th field", "0",
          [](World&, Td td) {
            for (int i = 5; i < LERV32_MAX_FIELDS; ++i) rv_AddField(td, ("F" + std::to_string(i)).c_str(), 'C', 1, 0);
            return Num(rv_AddField(td, "F129", 'C', 1, 0));
          },
          true),
      On("rv_AddFieldDef", "null definition", "0", [](World&, Td td) { return Num(rv_AddFieldDef(td, nullptr)); }),
      On(
          "rv_AddFieldDef", "127 characters, unterminated", "1 'AAAAAAAAAAAAAAA'",
          [](World&, Td td) {
            const int32_t added = rv_AddFieldDef(td, Unterminated(std::string(127, 'A')).get());
            return Join({Num(added), " ", Text(rv_FieldName(td, 5))});
          },
          true),
      On(
          "rv_AddFieldDef", "width -5 (normalised: the low byte)", "1 251",
          [](World&, Td td) {
            return Join({Num(rv_AddFieldDef(td, "W,C,-5")), " ", Num(rv_FieldLen(td, 5))});
          },
          true),
      On("rv_AddKeyDef", "null definition", "0", [](World&, Td td) { return Num(rv_AddKeyDef(td, nullptr)); }),
      // 41 times "NR," and "NR": the fields beyond the eleventh a key holds are dropped.
      On(
          "rv_AddKeyDef", "127 characters, unterminated", "1 'K' 11",
          [](World&, Td td) {
            std::string definition = "K,";
            while (definition.size() < 125) definition += "NR,";
            const int32_t added = rv_AddKeyDef(td, Unterminated(definition + "NR").get());
            return Join({Num(added), " ", Text(rv_KeyName(td, 3)), " ", Num(rv_KeyTokenCnt(td, 3))});
          },
          true),
      On("rv_AddKeyDef", "no field of the table", "0", [](World&, Td td) { return Num(rv_AddKeyDef(td, "K,FEHLT")); }),
      On(
          "rv_AddKeyDef", "17th key", "0",
          [](World&, Td td) {
            for (int k = 3; k < LERV32_MAX_KEYS; ++k) rv_AddKeyDef(td, ("K" + std::to_string(k) + ",NR").c_str());
            return Num(rv_AddKeyDef(td, "K17,NR"));
          },
          true),
      On("rv_DelField", "field -1", "void",
         [](World&, Td td) {
           rv_DelField(td, -1);
           return std::string("void");
         }),
      On("rv_DelField", "field FieldCnt", "void",
         [](World&, Td td) {
           rv_DelField(td, 5);
           return std::string("void");
         }),
      On("rv_DelField", "field 200", "void",
         [](World&, Td td) {
           rv_DelField(td, 200);
           return std::string("void");
         }),
      On("rv_FieldName", "field -1", "null", [](World&, Td td) { return Text(rv_FieldName(td, -1)); }),
      On("rv_FieldName", "field FieldCnt", "null", [](World&, Td td) { return Text(rv_FieldName(td, 5)); }),
      On("rv_FieldType", "field -1", "0", [](World&, Td td) { return Num(rv_FieldType(td, -1)); }),
      On("rv_FieldType", "field 128", "0", [](World&, Td td) { return Num(rv_FieldType(td, 128)); }),
      On("rv_FieldLen", "field -1", "0", [](World&, Td td) { return Num(rv_FieldLen(td, -1)); }),
      On("rv_FieldLen", "field 128", "0", [](World&, Td td) { return Num(rv_FieldLen(td, 128)); }),
      On("rv_FieldDec", "field -1", "0", [](World&, Td td) { return Num(rv_FieldDec(td, -1)); }),
      On("rv_FieldDec", "field 128", "0", [](World&, Td td) { return Num(rv_FieldDec(td, 128)); }),
      On("rv_FieldOffset", "field -1", "0", [](World&, Td td) { return Num(rv_FieldOffset(td, -1)); }),
      On("rv_FieldOffset", "field 128", "0", [](World&, Td td) { return Num(rv_FieldOffset(td, 128)); }),
      On("rv_FieldNo", "null name", "-1", [](World&, Td td) { return Num(rv_FieldNo(td, nullptr)); }),
      On("rv_FieldNoEx", "null name", "-1", [](World&, Td td) { return Num(rv_FieldNoEx(td, nullptr, 1)); }),
      On("rv_FieldNoEx", "relaxed -1 (any non-zero relaxes)", "1",
         [](World&, Td td) { return Num(rv_FieldNoEx(td, " NAME ", -1)); }),
      On("rv_KeyName", "key -1", "null", [](World&, Td td) { return Text(rv_KeyName(td, -1)); }),
      On("rv_KeyName", "key KeyCnt", "null", [](World&, Td td) { return Text(rv_KeyName(td, 3)); }),
      On("rv_KeyNo", "null name", "-1", [](World&, Td td) { return Num(rv_KeyNo(td, nullptr)); }),
      On("rv_KeyTokenCnt", "key -1", "0", [](World&, Td td) { return Num(rv_KeyTokenCnt(td, -1)); }),
      On("rv_KeyTokenCnt", "key 16", "0", [](World&, Td td) { return Num(rv_KeyTokenCnt(td, 16)); }),
      On("rv_KeyTokenFieldNo", "key -1", "0", [](World&, Td td) { return Num(rv_KeyTokenFieldNo(td, -1, 0)); }),
      On("rv_KeyTokenFieldNo", "position -1", "0", [](World&, Td td) { return Num(rv_KeyTokenFieldNo(td, 2, -1)); }),
      On("rv_KeyTokenFieldNo", "position 11", "0", [](World&, Td td) { return Num(rv_KeyTokenFieldNo(td, 2, 11)); }),
      On(
          "rv_SetPrimaryKey", "key -1 (primary key 0, as documented)", "0 0",
          [](World&, Td td) {
            return Join({Num(rv_SetPrimaryKey(td, -1)), " ", Num(rv_GetPrimaryKey(td))});
          },
          true),
      On(
          "rv_SetPrimaryKey", "key KeyCnt (primary key 0, as documented)", "0 0",
          [](World&, Td td) {
            return Join({Num(rv_SetPrimaryKey(td, 3)), " ", Num(rv_GetPrimaryKey(td))});
          },
          true),
      On(
          "rv_LoadTableDef", "null path (emptied, as documented)", "0 0",
          [](World&, Td td) {
            return Join({Num(rv_LoadTableDef(td, nullptr)), " ", Num(rv_FieldCnt(td))});
          },
          true),
      On(
          "rv_LoadTableDef", "missing file (emptied, as documented)", "0 0",
          [](World& w, Td td) {
            return Join({Num(rv_LoadTableDef(td, w.temp.File("fehlt.def").c_str())), " ", Num(rv_FieldCnt(td))});
          },
          true),
      {"rv_LoadTableDef", "null TableDef", "0",
       [](World& w) { return Num(rv_LoadTableDef(nullptr, w.def_path.c_str())); }},
      On("rv_SaveTableDef", "null path", "0", [](World&, Td td) { return Num(rv_SaveTableDef(td, nullptr)); }),
  };
}

Rows Fields() {
  return {
      On("rv_FieldToLong", "field -1", "0",
         [](World& w, Td td) { return Num(rv_FieldToLong(td, -1, w.record.data())); }),
      On("rv_FieldToLong", "field FieldCnt", "0",
         [](World& w, Td td) { return Num(rv_FieldToLong(td, 5, w.record.data())); }),
      On("rv_FieldToLong", "null record", "0", [](World&, Td td) { return Num(rv_FieldToLong(td, 0, nullptr)); }),
      On("rv_FieldToDouble", "field -1", "0",
         [](World& w, Td td) { return Num(rv_FieldToDouble(td, -1, w.record.data()) != 0); }),
      On("rv_FieldToDouble", "null record", "0",
         [](World&, Td td) { return Num(rv_FieldToDouble(td, 3, nullptr) != 0); }),
      On("rv_FieldToString", "null out", "null",
         [](World& w, Td td) { return Ptr(rv_FieldToString(td, 1, w.record.data(), nullptr)); }),
      On("rv_FieldToString", "null record", "out ''",
         [](World&, Td td) {
           Buffer out(21);
           return Join({Same(rv_FieldToString(td, 1, nullptr, out.data()), out.data()), " ", Text(out.data())});
         }),
      On("rv_FieldToString", "field 200", "out ''",
         [](World& w, Td td) {
           Buffer out(21);
           return Join(
               {Same(rv_FieldToString(td, 200, w.record.data(), out.data()), out.data()), " ", Text(out.data())});
         }),
      On("rv_FieldFromString", "null record", "0",
         [](World&, Td td) { return Num(rv_FieldFromString(td, 1, nullptr, "x")); }),
      On("rv_FieldFromString", "null text", "0 record untouched",
         [](World& w, Td td) {
           std::vector<char> rec = w.record;
           const int32_t written = rv_FieldFromString(td, 1, rec.data(), nullptr);
           return Join({Num(written), (rec == w.record ? " record untouched" : " record changed")});
         }),
      On("rv_FieldFromString", "field -1", "0 record untouched",
         [](World& w, Td td) {
           std::vector<char> rec = w.record;
           const int32_t written = rv_FieldFromString(td, -1, rec.data(), "x");
           return Join({Num(written), (rec == w.record ? " record untouched" : " record changed")});
         }),
      On("rv_FieldFromString", "text of the field's 20 characters, unterminated", "1 'ABCDEFGHIJKLMNOPQRST'",
         [](World& w, Td td) {
           std::vector<char> rec = w.record;
           const int32_t written = rv_FieldFromString(td, 1, rec.data(), Unterminated("ABCDEFGHIJKLMNOPQRST").get());
           char out[21];
           return Join({Num(written), " ", Text(rv_FieldToString(td, 1, rec.data(), out))});
         }),
      On("rv_FormatFieldForExport", "null out", "void",
         [](World& w, Td td) {
           rv_FormatFieldForExport(nullptr, td, 1, w.record.data());
           return std::string("void");
         }),
      On("rv_FormatFieldForExport", "null record", "''",
         [](World&, Td td) {
           Buffer out(23);
           rv_FormatFieldForExport(out.data(), td, 1, nullptr);
           return Text(out.data());
         }),
      On("rv_FormatFieldForExport", "field -1", "''",
         [](World& w, Td td) {
           Buffer out(23);
           rv_FormatFieldForExport(out.data(), td, -1, w.record.data());
           return Text(out.data());
         }),
      On("rv_MakeKeyFromRecord", "null dest", "0",
         [](World& w, Td td) { return Num(rv_MakeKeyFromRecord(td, 2, w.record.data(), nullptr)); }),
      On("rv_MakeKeyFromRecord", "null record", "0 ''",
         [](World&, Td td) {
           Buffer dest(15);
           return Join({Num(rv_MakeKeyFromRecord(td, 2, nullptr, dest.data())), " ", Text(dest.data())});
         }),
      On("rv_MakeKeyFromRecord", "key -1", "0 ''",
         [](World& w, Td td) {
           Buffer dest(1);
           return Join({Num(rv_MakeKeyFromRecord(td, -1, w.record.data(), dest.data())), " ", Text(dest.data())});
         }),
      On("rv_MakeKeyFromRecord", "key KeyCnt", "0 ''",
         [](World& w, Td td) {
           Buffer dest(1);
           return Join({Num(rv_MakeKeyFromRecord(td, 3, w.record.data(), dest.data())), " ", Text(dest.data())});
         }),
      On("rv_SqlFieldType", "field -1", "0", [](World&, Td td) { return Num(rv_SqlFieldType(td, -1)); }),
      On("rv_SqlFieldLen", "field FieldCnt", "0", [](World&, Td td) { return Num(rv_SqlFieldLen(td, 5)); }),
      On("rv_SqlFieldScale", "field -1", "0", [](World&, Td td) { return Num(rv_SqlFieldScale(td, -1)); }),
      On("rv_SqlFieldTypeNameEx", "field 200", "''",
         [](World&, Td td) { return Text(rv_SqlFieldTypeNameEx(td, 200, 1)); }),
      On("rv_SqlFieldTypeNameEx", "transactSql -1 (non-zero: Transact-SQL)", "'integer'",
         [](World&, Td td) { return Text(rv_SqlFieldTypeNameEx(td, 0, -1)); }),
      On("rv_SqlFieldTypeName", "field -1", "''", [](World&, Td td) { return Text(rv_SqlFieldTypeName(td, -1)); }),
      On("rv_SqlFieldDefault", "field FieldCnt", "''", [](World&, Td td) { return Text(rv_SqlFieldDefault(td, 5)); }),
  };
}

// Export lines and XML text: no definition, only buffers and widths.
Rows ExportLines() {
  const char* const kField = "Meier";
  return {
      {"rv_FieldExport", "null out", "null",
       [kField](World&) { return Ptr(rv_FieldExport(nullptr, kField, 'C', 5, 0, 1)); }},
      {"rv_FieldExport", "null field (nothing exported)", "end '\\t'",
       [](World&) {
         Buffer out(2, '\0');
         char* end = rv_FieldExport(out.data(), nullptr, 'C', 5, 0, 1);
         return Join({std::string(end == out.data() + 1 ? "end" : "?"),
                      (out.Value() == std::string("\t\0", 2) ? " '\\t'" : " ?")});
       }},
      {"rv_FieldExport", "width -1 (nothing exported)", "end ''",
       [kField](World&) {
         Buffer out(1, '\0');
         char* end = rv_FieldExport(out.data(), kField, 'C', -1, 0, 0);
         return Join({std::string(end == out.data() ? "end" : "?"), " ", Text(out.data())});
       }},
      {"rv_FieldExport", "width 256 (nothing exported)", "end ''",
       [kField](World&) {
         Buffer out(1, '\0');
         char* end = rv_FieldExport(out.data(), kField, 'C', 256, 0, 0);
         return Join({std::string(end == out.data() ? "end" : "?"), " ", Text(out.data())});
       }},
      {"rv_FieldExport", "type 0 (nothing exported)", "end ''",
       [kField](World&) {
         Buffer out(1, '\0');
         char* end = rv_FieldExport(out.data(), kField, 0, 5, 0, 0);
         return Join({std::string(end == out.data() ? "end" : "?"), " ", Text(out.data())});
       }},
      // -1 as 0 (12.5 rounded half away from zero), 99 as 15, too wide for the field's 7 characters and a sign.
      {"rv_FieldExport", "decimals -1 and 99 of an N field", "'13' '********'",
       [](World&) {
         Buffer first(12, '\0'), second(40, '\0');
         rv_FieldExport(first.data(), Unterminated("   12.5").get(), 'N', 7, -1, 0);
         rv_FieldExport(second.data(), Unterminated("   12.5").get(), 'N', 7, 99, 0);
         return Join({Text(first.data()), " ", Text(second.data())});
       }},
      {"rv_FieldImport", "null text", "null",
       [](World&) {
         Buffer field(5);
         return Ptr(rv_FieldImport(nullptr, field.data(), 'C', 5, 0));
       }},
      {"rv_FieldImport", "null field (item passed over)", "next",
       [](World&) {
         const char* text = "abc\tdef";
         return std::string(rv_FieldImport(text, nullptr, 'C', 5, 0) == text + 4 ? "next" : "?");
       }},
      {"rv_FieldImport", "width -1 (item passed over)", "next untouched",
       [](World&) {
         const char* text = "abc\tdef";
         Buffer field(5);
         const bool next = rv_FieldImport(text, field.data(), 'C', -1, 0) == text + 4;
         return Join({std::string(next ? "next" : "?"), (field.Untouched() ? " untouched" : " written")});
       }},
      {"rv_FieldImport", "width 0 of a text field", "next untouched",
       [](World&) {
         const char* text = "abc";
         Buffer field(0);
         const bool next = rv_FieldImport(text, field.data(), 'c', 0, 0) == text + 3;
         return Join({std::string(next ? "next" : "?"), (field.Untouched() ? " untouched" : " written")});
       }},
      {"rv_FieldImport", "date field 9 wide (narrower than its type)", "next untouched",
       [](World&) {
         const char* text = "2024-02-29";
         Buffer field(9);
         const bool next = rv_FieldImport(text, field.data(), 'D', 9, 0) == text + 10;
         return Join({std::string(next ? "next" : "?"), (field.Untouched() ? " untouched" : " written")});
       }},
      {"rv_AnsiToXML", "null out", "null", [](World&) { return Ptr(rv_AnsiToXML(nullptr, "a<b")); }},
      {"rv_AnsiToXML", "null text", "null untouched",
       [](World&) {
         Buffer out(7);
         return Join({Ptr(rv_AnsiToXML(out.data(), nullptr)), (out.Untouched() ? " untouched" : " written")});
       }},
  };
}

// A generator given no room or no key: -1 or 0 with an empty text, never a
// byte past the capacity.
Rows Generators() {
  Rows rows;
  struct Bounded {
    const char* name;
    std::function<int32_t(Td, char*, int32_t)> generate;
  };
  const Bounded bounded[] = {
      {"rv_GenSqlTableDefN", [](Td td, char* out, int32_t n) { return rv_GenSqlTableDefN(td, out, n, 1); }},
      {"rv_GenSqlIndexDefN", [](Td td, char* out, int32_t n) { return rv_GenSqlIndexDefN(td, out, n, 2, 1); }},
      {"rv_GenSqlDropDefN", [](Td td, char* out, int32_t n) { return rv_GenSqlDropDefN(td, out, n); }},
      {"rv_GenSqlTableBasicProcN", [](Td td, char* out, int32_t n) { return rv_GenSqlTableBasicProcN(td, out, n, 0); }},
      {"rv_GenSqlTableIndexProcN",
       [](Td td, char* out, int32_t n) { return rv_GenSqlTableIndexProcN(td, out, n, 2, 0); }},
      {"rv_GenCodebaseStructN", [](Td td, char* out, int32_t n) { return rv_GenCodebaseStructN(td, out, n); }},
      {"rv_GenSqlTriggerStructN", [](Td td, char* out, int32_t n) { return rv_GenSqlTriggerStructN(td, out, n); }},
      {"rv_GenCppTableDefN", [](Td td, char* out, int32_t n) { return rv_GenCppTableDefN(td, out, n); }},
  };
  for (const Bounded& b : bounded) {
    const auto generate = b.generate;
    rows.push_back(On(b.name, "null out", "-1", [generate](World&, Td td) { return Num(generate(td, nullptr, 100)); }));
    for (int32_t capacity : {0, -1}) {
      rows.push_back(
          On(b.name, ("capacity " + Num(capacity)).c_str(), "-1 untouched", [generate, capacity](World&, Td td) {
            Buffer out(1);
            const int32_t n = generate(td, out.data(), capacity);
            return Join({Num(n), (out.Untouched() ? " untouched" : " written")});
          }));
    }
    for (int32_t capacity : {1, 64}) {
      rows.push_back(On(b.name, ("capacity " + Num(capacity) + ", too small").c_str(), "-1 ''",
                        [generate, capacity](World&, Td td) {
                          Buffer out(static_cast<std::size_t>(capacity));
                          return Join({Num(generate(td, out.data(), capacity)), " ", Text(out.data())});
                        }));
    }
  }
  struct Plain {
    const char* name;
    std::function<int32_t(Td, char*)> generate;
  };
  const Plain plain[] = {
      {"rv_GenSqlTableDef", [](Td td, char* out) { return rv_GenSqlTableDef(td, out, 1); }},
      {"rv_GenSqlIndexDef", [](Td td, char* out) { return rv_GenSqlIndexDef(td, out, 2, 1); }},
      {"rv_GenSqlDropDef", [](Td td, char* out) { return rv_GenSqlDropDef(td, out); }},
      {"rv_GenSqlTableBasicProc", [](Td td, char* out) { return rv_GenSqlTableBasicProc(td, out, 0); }},
      {"rv_GenSqlTableIndexProc", [](Td td, char* out) { return rv_GenSqlTableIndexProc(td, out, 2, 0); }},
      {"rv_GenCodebaseStruct", [](Td td, char* out) { return rv_GenCodebaseStruct(td, out); }},
      {"rv_GenSqlTriggerStruct", [](Td td, char* out) { return rv_GenSqlTriggerStruct(td, out); }},
  };
  for (const Plain& p : plain) {
    const auto generate = p.generate;
    rows.push_back(On(p.name, "null out", "-1", [generate](World&, Td td) { return Num(generate(td, nullptr)); }));
  }
  rows.push_back(On("rv_GenCppTableDef", "null out", "void", [](World&, Td td) {
    rv_GenCppTableDef(td, nullptr);
    return std::string("void");
  }));
  for (int32_t key : {-1, 3, 16}) {
    const std::string variant = "key " + Num(key);
    rows.push_back(On("rv_GenSqlIndexDef", variant.c_str(), "0 ''", [key](World&, Td td) {
      Buffer out(1);
      return Join({Num(rv_GenSqlIndexDef(td, out.data(), key, 1)), " ", Text(out.data())});
    }));
    rows.push_back(On("rv_GenSqlIndexDefN", variant.c_str(), "0 ''", [key](World&, Td td) {
      Buffer out(1);
      return Join({Num(rv_GenSqlIndexDefN(td, out.data(), 1, key, 1)), " ", Text(out.data())});
    }));
    rows.push_back(On("rv_GenSqlTableIndexProc", variant.c_str(), "0 ''", [key](World&, Td td) {
      Buffer out(1);
      return Join({Num(rv_GenSqlTableIndexProc(td, out.data(), key, 0)), " ", Text(out.data())});
    }));
    rows.push_back(On("rv_GenSqlTableIndexProcN", variant.c_str(), "0 ''", [key](World&, Td td) {
      Buffer out(1);
      return Join({Num(rv_GenSqlTableIndexProcN(td, out.data(), 1, key, 0)), " ", Text(out.data())});
    }));
  }
  return rows;
}

}  // namespace

Rows DefinitionRows() {
  Rows rows = Definitions();
  for (Rows part : {Fields(), ExportLines(), Generators()}) rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

}  // namespace hostile
