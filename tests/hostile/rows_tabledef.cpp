// Every export that reads a TableDef, given a null one and one spoiled in
// each way a host's memory may spoil it: it gives its failure value and
// leaves the definition as it was. A valid definition is served, so that
// each row tells a refusal from an answer.
#include <cstdio>
#include <filesystem>

#include "hostile/hostile.h"

namespace hostile {
namespace {

struct Spoil {
  const char* name;
  void (*apply)(TableDef* td);
};

// The definition of World::Valid, spoiled.
const Spoil kSpoils[] = {
    {"FieldCnt -1", [](TableDef* td) { td->FieldCnt = -1; }},
    {"FieldCnt 129", [](TableDef* td) { td->FieldCnt = LERV32_MAX_FIELDS + 1; }},
    {"FieldCnt 100000", [](TableDef* td) { td->FieldCnt = 100000; }},
    {"KeyCnt -1", [](TableDef* td) { td->KeyCnt = -1; }},
    {"KeyCnt 17", [](TableDef* td) { td->KeyCnt = LERV32_MAX_KEYS + 1; }},
    {"width -1", [](TableDef* td) { td->Fields[1].Len = 0xFFFF; }},
    {"width 300", [](TableDef* td) { td->Fields[1].Len = 300; }},
    {"offset -1", [](TableDef* td) { td->Fields[2].Offset = 0xFFFF; }},
    {"offset beyond the record", [](TableDef* td) { td->Fields[4].Offset = 5000; }},
    {"offsets overlapping", [](TableDef* td) { td->Fields[3].Offset = 0; }},
    {"TokenCnt 12", [](TableDef* td) { td->Keys[0].TokenCnt = LERV32_MAX_KEY_FIELDS + 1; }},
    {"key field 200", [](TableDef* td) { td->Keys[2].TokenFieldNo[1] = 200; }},
    {"key field FieldCnt", [](TableDef* td) { td->Keys[0].TokenFieldNo[0] = static_cast<uint8_t>(td->FieldCnt); }},
    {"table name unterminated", [](TableDef* td) { std::memset(td->TableName, 'T', sizeof td->TableName); }},
    {"field name unterminated", [](TableDef* td) { std::memset(td->Fields[1].Name, 'F', sizeof td->Fields[1].Name); }},
    {"key name unterminated", [](TableDef* td) { std::memset(td->Keys[2].Name, 'K', sizeof td->Keys[2].Name); }},
    {"key filter not the library's", [](TableDef* td) { td->KeyFilter[1] = reinterpret_cast<char*>(16); }},
    {"key filter freed with a copy",
     [](TableDef* td) {
       TableDef* copy = rv_AllocTableDef();
       copy->UseKeyTable = 1;
       rv_AddFieldDef(copy, "A,C,2");
       rv_AddKeyDef(copy, "K,A;A > 'x'");
       td->KeyFilter[0] = copy->KeyFilter[0];
       rv_FreeTableDef(copy);
     }},
    {"PrimaryKey -1", [](TableDef* td) { td->PrimaryKey = -1; }},
    {"PrimaryKey 17", [](TableDef* td) { td->PrimaryKey = LERV32_MAX_KEYS + 1; }},
};

// An export that reads a definition: failure and served as of a TableCall.
struct Reader {
  const char* export_name;
  std::string failure;
  bool served;
  std::function<std::string(World&, TableDef*)> call;
};

std::string Dbl(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// "<result> ''" or "<result> text" for a generator's output.
std::string Generated(int64_t result, const char* out) {
  return Join({Num(result), (out[0] == '\0' ? " ''" : " text")});
}

constexpr std::size_t kScriptSize = 200000;

std::vector<Reader> Readers() {
  std::vector<Reader> readers = {
      {"rv_AddField", "0", true, [](World&, TableDef* td) { return Num(rv_AddField(td, "NEU", 'C', 5, 0)); }},
      {"rv_AddFieldDef", "0", true, [](World&, TableDef* td) { return Num(rv_AddFieldDef(td, "NEU,C,5")); }},
      {"rv_AddKeyDef", "0", true, [](World&, TableDef* td) { return Num(rv_AddKeyDef(td, "NEU_KEY,NR")); }},
      {"rv_DelField", "void", false,
       [](World&, TableDef* td) {
         rv_DelField(td, 0);
         return std::string("void");
       }},
      {"rv_FieldCnt", "0", true, [](World&, TableDef* td) { return Num(rv_FieldCnt(td)); }},
      {"rv_FieldName", "null", true, [](World&, TableDef* td) { return Text(rv_FieldName(td, 1)); }},
      {"rv_FieldType", "0", true, [](World&, TableDef* td) { return Num(rv_FieldType(td, 1)); }},
      {"rv_FieldLen", "0", true, [](World&, TableDef* td) { return Num(rv_FieldLen(td, 1)); }},
      {"rv_FieldDec", "0", true, [](World&, TableDef* td) { return Num(rv_FieldDec(td, 3)); }},
      {"rv_FieldOffset", "0", true, [](World&, TableDef* td) { return Num(rv_FieldOffset(td, 2)); }},
      {"rv_FieldNo", "-1", true, [](World&, TableDef* td) { return Num(rv_FieldNo(td, "NAME")); }},
      {"rv_FieldNoEx", "-1", true, [](World&, TableDef* td) { return Num(rv_FieldNoEx(td, " NAME ", 1)); }},
      {"rv_KeyCnt", "0", true, [](World&, TableDef* td) { return Num(rv_KeyCnt(td)); }},
      {"rv_KeyName", "null", true, [](World&, TableDef* td) { return Text(rv_KeyName(td, 0)); }},
      {"rv_KeyNo", "-1", true, [](World&, TableDef* td) { return Num(rv_KeyNo(td, "ORT_KEY")); }},
      {"rv_KeyTokenCnt", "0", true, [](World&, TableDef* td) { return Num(rv_KeyTokenCnt(td, 2)); }},
      {"rv_KeyTokenFieldNo", "0", true, [](World&, TableDef* td) { return Num(rv_KeyTokenFieldNo(td, 2, 0)); }},
      {"rv_GetPrimaryKey", "0", true, [](World&, TableDef* td) { return Num(rv_GetPrimaryKey(td)); }},
      {"rv_SetPrimaryKey", "0", true, [](World&, TableDef* td) { return Num(rv_SetPrimaryKey(td, 2)); }},
      {"rv_SaveTableDef", "0", true,
       [](World& w, TableDef* td) {
         const std::string path = w.temp.File("saved.def");
         std::filesystem::remove(path);
         const int32_t saved = rv_SaveTableDef(td, path.c_str());
         return Join({Num(saved), (std::filesystem::exists(path) ? " file written" : "")});
       }},
      // Field values.
      {"rv_FieldToLong", "0", true,
       [](World& w, TableDef* td) { return Num(rv_FieldToLong(td, 0, Record(w).data())); }},
      {"rv_FieldToDouble", "0", true,
       [](World& w, TableDef* td) { return Dbl(rv_FieldToDouble(td, 3, Record(w).data())); }},
      {"rv_FieldToString", "out ''", true,
       [](World& w, TableDef* td) {
         Buffer out(21);  // max(Len, 20) + 1 of the valid definition
         return Join({Same(rv_FieldToString(td, 1, Record(w).data(), out.data()), out.data()), " ", Text(out.data())});
       }},
      {"rv_FieldFromString", "0", true,
       [](World& w, TableDef* td) {
         Record rec(w);
         const int32_t written = rv_FieldFromString(td, 1, rec.data(), "Neu");
         return Join({Num(written), (rec.Changed(w) ? " record changed" : "")});
       }},
      {"rv_FormatFieldForExport", "''", true,
       [](World& w, TableDef* td) {
         Buffer out(23);  // max(Len, 20) + 3
         rv_FormatFieldForExport(out.data(), td, 1, Record(w).data());
         return Text(out.data());
       }},
      {"rv_MakeKeyFromRecord", "0 ''", true,
       [](World& w, TableDef* td) {
         Buffer dest(15);  // ORT and NR, and the zero
         const int32_t size = rv_MakeKeyFromRecord(td, 2, Record(w).data(), dest.data());
         return Join({Num(size), " ", Text(dest.data())});
       }},
      {"rv_SqlFieldType", "0", true, [](World&, TableDef* td) { return Num(rv_SqlFieldType(td, 0)); }},
      {"rv_SqlFieldLen", "0", true, [](World&, TableDef* td) { return Num(rv_SqlFieldLen(td, 1)); }},
      {"rv_SqlFieldScale", "0", true, [](World&, TableDef* td) { return Num(rv_SqlFieldScale(td, 3)); }},
      {"rv_SqlFieldTypeNameEx", "''", true, [](World&, TableDef* td) { return Text(rv_SqlFieldTypeNameEx(td, 1, 0)); }},
      {"rv_SqlFieldTypeName", "''", true, [](World&, TableDef* td) { return Text(rv_SqlFieldTypeName(td, 1)); }},
      {"rv_SqlFieldDefault", "''", true, [](World&, TableDef* td) { return Text(rv_SqlFieldDefault(td, 0)); }},
      {"rv_OdbcPrepareAll", "void no set", false,
       [](World& w, TableDef* td) {
         rv_OdbcPrepareAll(td, w.db);
         return Join({std::string("void"), (rv_GetSqlRecPtr(td) == nullptr ? " no set" : " set")});
       }},
      {"rv_GetSqlRecPtr", "null", false, [](World&, TableDef* td) { return Ptr(rv_GetSqlRecPtr(td)); }},
      {"rv_OdbcFillSqlRec", "0", false,
       [](World& w, TableDef* td) { return Num(rv_OdbcFillSqlRec(td, Record(w).data())); }},
      {"rv_OdbcScanSqlRec", "0", false,
       [](World& w, TableDef* td) { return Num(rv_OdbcScanSqlRec(td, Record(w).data())); }},
      // A caller's definition by its address.
      {"rv_StmtOpen", "null", true,
       [](World& w, TableDef* td) {
         char spec[40];
         std::snprintf(spec, sizeof spec, "=0x%llx", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(td)));
         void* cursor = rv_StmtOpen(w.db, spec, nullptr, 0);
         rv_StmtClose(cursor);
         return Ptr(cursor);
       }},
  };
  // Scripts and record access on the world's table.
  for (const TableCall& c : TableCalls()) {
    const auto call = c.call;
    readers.push_back({c.name, c.failure, c.served, [call](World& w, TableDef* td) { return call(w, w.db, td); }});
  }
  // The generators, plain and bounded, with room for any script.
  for (const Generator& g : Generators()) {
    const auto generate = g.generate;
    readers.push_back({g.name, "0 ''", true, [generate](World&, TableDef* td) {
                         Buffer out(kScriptSize);
                         return Generated(generate(td, out.data(), kScriptSize, 2), out.data());
                       }});
  }
  return readers;
}

std::string Bytes(const TableDef* td) { return std::string(reinterpret_cast<const char*>(td), sizeof *td); }

}  // namespace

Rows TableDefRows() {
  Rows rows;
  for (const Reader& reader : Readers()) {
    const auto call = reader.call;
    rows.push_back(
        {reader.export_name, "null TableDef", reader.failure, [call](World& w) { return call(w, nullptr); }});
    for (const Spoil& spoil : kSpoils) {
      rows.push_back(
          {reader.export_name, std::string("TableDef ") + spoil.name, reader.failure, [call, spoil](World& w) {
             World::TableDefPtr td = w.Valid();
             // Found valid first, as a host's earlier calls find it.
             if (rv_FieldCnt(td.get()) == 0) return std::string("valid definition refused");
             spoil.apply(td.get());
             const std::string before = Bytes(td.get());
             std::string result = call(w, td.get());
             if (Bytes(td.get()) != before) result += " (definition changed)";
             return result;
           }});
    }
    if (reader.served) {
      const std::string failure = reader.failure;
      rows.push_back({reader.export_name, "valid TableDef (served, not refused)", "served", [call, failure](World& w) {
                        World::TableDefPtr td = w.Valid();
                        const std::string result = call(w, td.get());
                        return result == failure ? Join({"refused: ", result}) : std::string("served");
                      }});
    }
  }
  // What these do not read: they take any definition.
  for (const Spoil& spoil : kSpoils) {
    const std::string variant = std::string("TableDef ") + spoil.name + " (replaced, not read)";
    rows.push_back({"rv_LoadTableDef", variant, "1 loaded", [spoil](World& w) {
                      World::TableDefPtr td = w.Valid();
                      spoil.apply(td.get());
                      const int32_t loaded = rv_LoadTableDef(td.get(), w.def_path.c_str());
                      return Join({Num(loaded), (rv_FieldCnt(td.get()) == 5 ? " loaded" : " not loaded")});
                    }});
    rows.push_back({"rv_FreeTableDef", std::string("TableDef ") + spoil.name + " (freed, not read)", "void freed",
                    [spoil](World& w) {
                      World::TableDefPtr td = w.Valid();
                      spoil.apply(td.get());
                      const int32_t blocks = rv_GetMemUsage(1);
                      rv_FreeTableDef(td.release());
                      return Join({std::string("void"), (rv_GetMemUsage(1) < blocks ? " freed" : " kept")});
                    }});
    rows.push_back(
        {"rv_OdbcUnprepareAll", std::string("TableDef ") + spoil.name + " (no set to free)", "void", [spoil](World& w) {
           World::TableDefPtr td = w.Valid();
           spoil.apply(td.get());
           rv_OdbcUnprepareAll(td.get());
           return std::string("void");
         }});
  }
  return rows;
}

}  // namespace hostile
