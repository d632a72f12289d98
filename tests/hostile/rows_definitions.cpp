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

// On, for a call that may change the definition.
Row Changing(const char* name, const char* variant, const char* expected, std::function<std::string(World&, Td)> body) {
  return On(name, variant, expected, std::move(body), true);
}

Rows Definitions() {
  Rows rows = {
      {"rv_AllocTableDef", "no arguments to spoil", "ptr",
       [](World&) {
         TableDef* td = rv_AllocTableDef();
         const std::string result = Ptr(td);
         rv_FreeTableDef(td);
         return result;
       }},
      {"rv_FreeTableDef", "null", "void", Void([](World&) { rv_FreeTableDef(nullptr); })},
      {"rv_FreeTableDef", "-1", "void", Void([](World&) { rv_FreeTableDef(static_cast<TableDef*>(MinusOne())); })},
      {"rv_FreeTableDef", "freed already", "void blocks kept",
       [](World&) {
         TableDef* td = rv_AllocTableDef();
         rv_FreeTableDef(td);
         const int32_t blocks = rv_GetMemUsage(1);
         rv_FreeTableDef(td);
         return Join({std::string("void"), BlocksKept(blocks)});
       }},
      {"rv_FreeTableDef", "the host's own TableDef", "void untouched",
       [](World&) {
         TableDef own{};
         own.FieldCnt = 3;
         rv_FreeTableDef(&own);
         return Join({std::string("void"), (own.FieldCnt == 3 ? " untouched" : " cleared")});
       }},
      On("rv_AddField", "null name", "0", [](World&, Td td) { return Num(rv_AddField(td, nullptr, 'C', 5, 0)); }),
      Changing("rv_AddField", "name of 15 characters, unterminated", "1 'ABCDEFGHIJKLMNO'",
               [](World&, Td td) {
                 const int32_t added = rv_AddField(td, Unterminated("ABCDEFGHIJKLMNO").get(), 'C', 5, 0);
                 return Join({Num(added), " ", Text(rv_FieldName(td, 5))});
               }),
      Changing("rv_AddField", "width -1 (normalised: the low byte, as width 300 gives 44)", "1 255",
               [](World&, Td td) {
                 return Join({Num(rv_AddField(td, "W", 'C', -1, 0)), " ", Num(rv_FieldLen(td, 5))});
               }),
      Changing("rv_AddField", "decimals -1 (normalised to 0)", "1 0",
               [](World&, Td td) {
                 return Join({Num(rv_AddField(td, "W", 'N', 8, -1)), " ", Num(rv_FieldDec(td, 5))});
               }),
      Changing("rv_AddField", "129th field", "0",
               [](World&, Td td) {
                 for (int i = 5; i < LERV32_MAX_FIELDS; ++i)
                   rv_AddField(td, ("F" + std::to_string(i)).c_str(), 'C', 1, 0);
                 return Num(rv_AddField(td, "F129", 'C', 1, 0));
               }),
      On("rv_AddFieldDef", "null definition", "0", [](World&, Td td) { return Num(rv_AddFieldDef(td, nullptr)); }),
      Changing("rv_AddFieldDef", "127 characters, unterminated", "1 'AAAAAAAAAAAAAAA'",
               [](World&, Td td) {
                 const int32_t added = rv_AddFieldDef(td, Unterminated(std::string(127, 'A')).get());
                 return Join({Num(added), " ", Text(rv_FieldName(td, 5))});
               }),
      Changing("rv_AddFieldDef", "width -5 (normalised: the low byte)", "1 251",
               [](World&, Td td) {
                 return Join({Num(rv_AddFieldDef(td, "W,C,-5")), " ", Num(rv_FieldLen(td, 5))});
               }),
      On("rv_AddKeyDef", "null definition", "0", [](World&, Td td) { return Num(rv_AddKeyDef(td, nullptr)); }),
      // 41 times "NR," and "NR": the fields beyond the eleventh a key holds are dropped.
      Changing("rv_AddKeyDef", "127 characters, unterminated", "1 'K' 11",
               [](World&, Td td) {
                 std::string definition = "K,";
                 while (definition.size() < 125) definition += "NR,";
                 const int32_t added = rv_AddKeyDef(td, Unterminated(definition + "NR").get());
                 return Join({Num(added), " ", Text(rv_KeyName(td, 3)), " ", Num(rv_KeyTokenCnt(td, 3))});
               }),
      On("rv_AddKeyDef", "no field of the table", "0", [](World&, Td td) { return Num(rv_AddKeyDef(td, "K,FEHLT")); }),
      Changing("rv_AddKeyDef", "17th key", "0",
               [](World&, Td td) {
                 for (int k = 3; k < LERV32_MAX_KEYS; ++k) rv_AddKeyDef(td, ("K" + std::to_string(k) + ",NR").c_str());
                 return Num(rv_AddKeyDef(td, "K17,NR"));
               }),
      On("rv_FieldNo", "null name", "-1", [](World&, Td td) { return Num(rv_FieldNo(td, nullptr)); }),
      On("rv_FieldNoEx", "null name", "-1", [](World&, Td td) { return Num(rv_FieldNoEx(td, nullptr, 1)); }),
      On("rv_FieldNoEx", "relaxed -1 (any non-zero relaxes)", "1",
         [](World&, Td td) { return Num(rv_FieldNoEx(td, " NAME ", -1)); }),
      On("rv_KeyNo", "null name", "-1", [](World&, Td td) { return Num(rv_KeyNo(td, nullptr)); }),
      On("rv_KeyTokenFieldNo", "position -1", "0", [](World&, Td td) { return Num(rv_KeyTokenFieldNo(td, 2, -1)); }),
      On("rv_KeyTokenFieldNo", "position 11", "0", [](World&, Td td) { return Num(rv_KeyTokenFieldNo(td, 2, 11)); }),
      Changing("rv_LoadTableDef", "null path (emptied, as documented)", "0 0",
               [](World&, Td td) {
                 return Join({Num(rv_LoadTableDef(td, nullptr)), " ", Num(rv_FieldCnt(td))});
               }),
      Changing("rv_LoadTableDef", "missing file (emptied, as documented)", "0 0",
               [](World& w, Td td) {
                 return Join({Num(rv_LoadTableDef(td, w.temp.File("fehlt.def").c_str())), " ", Num(rv_FieldCnt(td))});
               }),
      {"rv_LoadTableDef", "null TableDef", "0",
       [](World& w) { return Num(rv_LoadTableDef(nullptr, w.def_path.c_str())); }},
      On("rv_SaveTableDef", "null path", "0", [](World&, Td td) { return Num(rv_SaveTableDef(td, nullptr)); }),
  };
  using Numbers = std::vector<std::pair<int32_t, const char*>>;
  for (const auto& [field, variant] : Numbers{{-1, "field -1"}, {5, "field FieldCnt"}, {200, "field 200"}}) {
    const int32_t n = field;
    rows.push_back(On("rv_DelField", variant, "void", [n](World&, Td td) {
      rv_DelField(td, n);
      return std::string("void");
    }));
  }
  for (const auto& [number, variant] : Numbers{{-1, "key -1"}, {3, "key KeyCnt"}}) {
    const int32_t key = number;
    rows.push_back(Changing("rv_SetPrimaryKey", (std::string(variant) + " (primary key 0, as documented)").c_str(),
                            "0 0", [key](World&, Td td) {
                              return Join({Num(rv_SetPrimaryKey(td, key)), " ", Num(rv_GetPrimaryKey(td))});
                            }));
  }
  return rows;
}

// The calls that take a field number, each given numbers that name no field:
// below zero, FieldCnt, the first past the library's fields, and one past
// any a key may name.
struct ByNumber {
  const char* name;
  const char* failure;
  std::function<std::string(World&, Td, int32_t)> call;
};

std::vector<ByNumber> FieldCalls() {
  return {
      {"rv_FieldName", "null", [](World&, Td td, int32_t f) { return Text(rv_FieldName(td, f)); }},
      {"rv_FieldType", "0", [](World&, Td td, int32_t f) { return Num(rv_FieldType(td, f)); }},
      {"rv_FieldLen", "0", [](World&, Td td, int32_t f) { return Num(rv_FieldLen(td, f)); }},
      {"rv_FieldDec", "0", [](World&, Td td, int32_t f) { return Num(rv_FieldDec(td, f)); }},
      {"rv_FieldOffset", "0", [](World&, Td td, int32_t f) { return Num(rv_FieldOffset(td, f)); }},
      {"rv_FieldToLong", "0", [](World& w, Td td, int32_t f) { return Num(rv_FieldToLong(td, f, w.record.data())); }},
      {"rv_FieldToDouble", "0",
       [](World& w, Td td, int32_t f) { return Num(rv_FieldToDouble(td, f, w.record.data()) != 0); }},
      {"rv_FieldToString", "out ''",
       [](World& w, Td td, int32_t f) {
         Buffer out(21);
         return Join({Same(rv_FieldToString(td, f, w.record.data(), out.data()), out.data()), " ", Text(out.data())});
       }},
      {"rv_FieldFromString", "0 record untouched",
       [](World& w, Td td, int32_t f) {
         std::vector<char> rec = w.record;
         const int32_t written = rv_FieldFromString(td, f, rec.data(), "x");
         return Join({Num(written), (rec == w.record ? " record untouched" : " record changed")});
       }},
      {"rv_FormatFieldForExport", "''",
       [](World& w, Td td, int32_t f) {
         Buffer out(23);
         rv_FormatFieldForExport(out.data(), td, f, w.record.data());
         return Text(out.data());
       }},
      {"rv_SqlFieldType", "0", [](World&, Td td, int32_t f) { return Num(rv_SqlFieldType(td, f)); }},
      {"rv_SqlFieldLen", "0", [](World&, Td td, int32_t f) { return Num(rv_SqlFieldLen(td, f)); }},
      {"rv_SqlFieldScale", "0", [](World&, Td td, int32_t f) { return Num(rv_SqlFieldScale(td, f)); }},
      {"rv_SqlFieldTypeNameEx", "''", [](World&, Td td, int32_t f) { return Text(rv_SqlFieldTypeNameEx(td, f, 1)); }},
      {"rv_SqlFieldTypeName", "''", [](World&, Td td, int32_t f) { return Text(rv_SqlFieldTypeName(td, f)); }},
      {"rv_SqlFieldDefault", "''", [](World&, Td td, int32_t f) { return Text(rv_SqlFieldDefault(td, f)); }},
  };
}

// The calls that take a key number, given numbers that name no key: below
// zero, KeyCnt and the first past the library's keys.
std::vector<ByNumber> KeyCalls() {
  return {
      {"rv_KeyName", "null", [](World&, Td td, int32_t k) { return Text(rv_KeyName(td, k)); }},
      {"rv_KeyTokenCnt", "0", [](World&, Td td, int32_t k) { return Num(rv_KeyTokenCnt(td, k)); }},
      {"rv_KeyTokenFieldNo", "0", [](World&, Td td, int32_t k) { return Num(rv_KeyTokenFieldNo(td, k, 0)); }},
      {"rv_MakeKeyFromRecord", "0 ''",
       [](World& w, Td td, int32_t k) {
         Buffer dest(1);
         return Join({Num(rv_MakeKeyFromRecord(td, k, w.record.data(), dest.data())), " ", Text(dest.data())});
       }},
  };
}

Rows Fields() {
  Rows rows = {
      On("rv_FieldToLong", "null record", "0", [](World&, Td td) { return Num(rv_FieldToLong(td, 0, nullptr)); }),
      On("rv_FieldToDouble", "null record", "0",
         [](World&, Td td) { return Num(rv_FieldToDouble(td, 3, nullptr) != 0); }),
      On("rv_FieldToString", "null out", "null",
         [](World& w, Td td) { return Ptr(rv_FieldToString(td, 1, w.record.data(), nullptr)); }),
      On("rv_FieldToString", "null record", "out ''",
         [](World&, Td td) {
           Buffer out(21);
           return Join({Same(rv_FieldToString(td, 1, nullptr, out.data()), out.data()), " ", Text(out.data())});
         }),
      On("rv_FieldFromString", "null record", "0",
         [](World&, Td td) { return Num(rv_FieldFromString(td, 1, nullptr, "x")); }),
      On("rv_FieldFromString", "null text", "0 record untouched",
         [](World& w, Td td) {
           std::vector<char> rec = w.record;
           const int32_t written = rv_FieldFromString(td, 1, rec.data(), nullptr);
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
      On("rv_MakeKeyFromRecord", "null dest", "0",
         [](World& w, Td td) { return Num(rv_MakeKeyFromRecord(td, 2, w.record.data(), nullptr)); }),
      On("rv_MakeKeyFromRecord", "null record", "0 ''",
         [](World&, Td td) {
           Buffer dest(15);
           return Join({Num(rv_MakeKeyFromRecord(td, 2, nullptr, dest.data())), " ", Text(dest.data())});
         }),
      On("rv_SqlFieldTypeNameEx", "transactSql -1 (non-zero: Transact-SQL)", "'integer'",
         [](World&, Td td) { return Text(rv_SqlFieldTypeNameEx(td, 0, -1)); }),
  };
  struct Numbered {
    std::vector<ByNumber> calls;
    std::vector<std::pair<int32_t, const char*>> numbers;
  };
  const Numbered numbered[] = {
      {FieldCalls(), {{-1, "field -1"}, {5, "field FieldCnt"}, {LERV32_MAX_FIELDS, "field 128"}, {200, "field 200"}}},
      {KeyCalls(), {{-1, "key -1"}, {3, "key KeyCnt"}, {LERV32_MAX_KEYS, "key 16"}}},
  };
  for (const Numbered& set : numbered) {
    for (const ByNumber& c : set.calls) {
      const auto call = c.call;
      for (const auto& [number, variant] : set.numbers) {
        const int32_t n = number;
        rows.push_back(On(c.name, variant, c.failure, [call, n](World& w, Td td) { return call(w, td, n); }));
      }
    }
  }
  return rows;
}

// Export lines and XML text: no definition, only buffers and widths.
Rows ExportLines() {
  const char* const kField = "Meier";
  Rows rows = {
      {"rv_FieldExport", "null out", "null",
       [kField](World&) { return Ptr(rv_FieldExport(nullptr, kField, 'C', 5, 0, 1)); }},
      {"rv_FieldExport", "null field (nothing exported)", "end '\\t'",
       [](World&) {
         Buffer out(2, '\0');
         char* end = rv_FieldExport(out.data(), nullptr, 'C', 5, 0, 1);
         return Join({std::string(end == out.data() + 1 ? "end" : "?"),
                      (out.Value() == std::string("\t\0", 2) ? " '\\t'" : " ?")});
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
      {"rv_AnsiToXML", "null out", "null", [](World&) { return Ptr(rv_AnsiToXML(nullptr, "a<b")); }},
      {"rv_AnsiToXML", "null text", "null untouched",
       [](World&) {
         Buffer out(7);
         return Join({Ptr(rv_AnsiToXML(out.data(), nullptr)), Touched(out)});
       }},
  };
  // Fields export cannot make: nothing is written, the end is where it began.
  struct Unexported {
    const char* variant;
    char type;
    int32_t width;
  };
  for (const Unexported& u : {Unexported{"width -1", 'C', -1}, {"width 256", 'C', 256}, {"type 0", 0, 5}}) {
    rows.push_back({"rv_FieldExport", std::string(u.variant) + " (nothing exported)", "end ''", [kField, u](World&) {
                      Buffer out(1, '\0');
                      char* end = rv_FieldExport(out.data(), kField, u.type, u.width, 0, 0);
                      return Join({std::string(end == out.data() ? "end" : "?"), " ", Text(out.data())});
                    }});
  }
  // Items import cannot take into their field: passed over, the field untouched.
  struct Unimported {
    const char* variant;
    const char* text;
    std::size_t next;  // where the next item begins
    char type;
    int32_t width;
  };
  const Unimported unimported[] = {
      {"width -1 (item passed over)", "abc\tdef", 4, 'C', -1},
      {"width 0 of a text field", "abc", 3, 'c', 0},
      {"date field 9 wide (narrower than its type)", "2024-02-29", 10, 'D', 9},
  };
  for (const Unimported& u : unimported) {
    rows.push_back({"rv_FieldImport", u.variant, "next untouched", [u](World&) {
                      Buffer field(u.width > 0 ? static_cast<std::size_t>(u.width) : 5);
                      const bool next = rv_FieldImport(u.text, field.data(), u.type, u.width, 0) == u.text + u.next;
                      return Join({std::string(next ? "next" : "?"), Touched(field)});
                    }});
  }
  return rows;
}

// A generator given no room or no key: -1 or 0 with an empty text, never a
// byte past the capacity.
Rows GeneratorRows() {
  Rows rows = {On("rv_GenCppTableDef", "null out", "void", [](World&, Td td) {
    rv_GenCppTableDef(td, nullptr);
    return std::string("void");
  })};
  for (const Generator& g : Generators()) {
    const auto generate = g.generate;
    if (std::string(g.name) != "rv_GenCppTableDef") {
      rows.push_back(
          On(g.name, "null out", "-1", [generate](World&, Td td) { return Num(generate(td, nullptr, 100, 2)); }));
    }
    // Keys that name none: -1, KeyCnt and the first past the library's keys.
    for (int32_t key : {-1, 3, 16}) {
      if (!g.keyed) break;
      rows.push_back(On(g.name, ("key " + Num(key)).c_str(), "0 ''", [generate, key](World&, Td td) {
        Buffer out(1);
        return Join({Num(generate(td, out.data(), 1, key)), " ", Text(out.data())});
      }));
    }
    if (!g.bounded) continue;
    for (int32_t capacity : {0, -1}) {
      rows.push_back(
          On(g.name, ("capacity " + Num(capacity)).c_str(), "-1 untouched", [generate, capacity](World&, Td td) {
            Buffer out(1);
            const int32_t n = generate(td, out.data(), capacity, 2);
            return Join({Num(n), Touched(out)});
          }));
    }
    for (int32_t capacity : {1, 64}) {
      rows.push_back(On(g.name, ("capacity " + Num(capacity) + ", too small").c_str(), "-1 ''",
                        [generate, capacity](World&, Td td) {
                          Buffer out(static_cast<std::size_t>(capacity));
                          return Join({Num(generate(td, out.data(), capacity, 2)), " ", Text(out.data())});
                        }));
    }
  }
  return rows;
}

}  // namespace

Rows DefinitionRows() {
  Rows rows = Definitions();
  for (Rows part : {Fields(), ExportLines(), GeneratorRows()}) rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

}  // namespace hostile
