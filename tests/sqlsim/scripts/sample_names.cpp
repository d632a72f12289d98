#include "tests/sqlsim/scripts/sample_names.h"

namespace scripts {

std::set<std::string> ExpectedObjects(const TableDef& td, const SampleNames& names) {
  const std::string& b = names.base;
  std::set<std::string> objects = {
      "dpxfunc_integer:FN", "dpxfunc_datetime:FN", "dpxfunc_float:FN", "dpxfunc_NextRecId_" + b + ":FN",
      names.table + ":U",   b + ":V",
  };
  std::vector<std::string> procedures = {"Sel2", "Append", "Add", "Del", "Reorg"};
  // Without fields the column lists would be empty, without text fields the
  // text column: the generator leaves those procedures out.
  if (td.FieldCnt > 0) procedures.insert(procedures.end(), {"Sel", "Upd", "Upd2"});
  bool any_text = false;
  for (int32_t f = 0; f < td.FieldCnt; ++f) any_text = any_text || IsTextField(td.Fields[f]);
  if (any_text) procedures.push_back("TrSel");
  for (const std::string& p : procedures) objects.insert("up_" + p + "_" + b + ":P");

  std::vector<std::string> navigation = {"First", "Last", "Next", "Prior", "FindF", "FindL"};
  if (names.key_tables) {
    navigation.insert(navigation.end(), {"Next50", "Prior50"});
    objects.insert({names.table + "_Keys:U", "tr_" + b + "_KeyDel:TR", "tr_" + b + "_KeyUpd:TR"});
  }
  for (int32_t k = 0; k < td.KeyCnt; ++k) {
    for (const std::string& p : navigation) objects.insert("up_" + p + "_" + b + "_" + td.Keys[k].Name + ":P");
  }
  return objects;
}

std::set<std::string> ExpectedIndexes(const TableDef& td, const SampleNames& names) {
  std::set<std::string> indexes;
  for (int32_t k = 0; k < td.KeyCnt; ++k) {
    const std::string index = std::string("Ik_") + td.Keys[k].Name;
    const bool sql_key = (td.SqlKeyMask >> k) & 1u;
    if (names.key_tables) indexes.insert(names.table + "_Keys." + index);
    if (!names.key_tables || sql_key) indexes.insert(names.table + "." + index);
  }
  return indexes;
}

}  // namespace scripts
