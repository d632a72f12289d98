// Record access written out by hand for one fixed definition: the statement
// texts, bindings (C and SQL types, sizes) and the sequence of ODBC calls
// that the library's record access sends, on a connection the caller owns.
// The yardstick the library's calls are measured against.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The definition the loops are written for: ten fields of mixed types and
// the key NAME_KEY over NAME and NR.
const std::vector<std::string>& RecordDefinitionLines();

// The values of a record in the C types the loops bind and fetch. Text is
// blank-padded to the field width.
struct HandRecord {
  char name[21];
  SQLINTEGER nr;
  char ort[16];
  double betrag;
  TIMESTAMP_STRUCT datum;
  unsigned char aktiv;
  SQLINTEGER menge;
  char notiz[31];
  double rabatt;
  char code[7];
};

// The field texts of sample record i (1-based), as rv_FieldFromString takes
// them; variant changes the fields outside the key.
std::vector<std::string> SampleTexts(int i, int variant);
// The same values as HandRecord.
HandRecord SampleHandRecord(int i, int variant);
// Whether two records hold the same values.
bool SameValues(const HandRecord& a, const HandRecord& b);

class HandLoops {
 public:
  // table: the definition's table name; base: its name in procedure names.
  HandLoops(SQLHDBC dbc, const std::string& table, const std::string& base);

  // Record rec_id into out: true, or false when there is none.
  bool ReadPlain(int32_t rec_id, HandRecord* out);
  bool ReadProcedure(int32_t rec_id, HandRecord* out);
  // The next RecId in NAME_KEY order after rec_id, 0 at the end.
  int32_t NextPlain(int32_t rec_id);
  int32_t NextProcedure(int32_t rec_id);
  // The new RecId, 0 on failure.
  int32_t AppendPlain(const HandRecord& record);
  int32_t AppendProcedure(const HandRecord& record);
  bool UpdatePlain(int32_t rec_id, const HandRecord& record);
  bool UpdateProcedure(int32_t rec_id, const HandRecord& record);

 private:
  bool Read(const char* sql, HandRecord* out);
  int32_t SingleRecId(const char* sql);
  bool Update(const char* sql, const HandRecord& record);

  SQLHDBC dbc_;
  std::string table_;          // bracketed
  std::string select_by_id_;   // "SELECT ... WHERE RecId = "
  std::string select_proc_;    // "EXECUTE [up_Sel_..] "
  std::string next_proc_;      // "EXECUTE [up_Next_.._NAME_KEY] "
  std::string update_set_;     // "UPDATE .. SET [NAME]=?,... WHERE RecId = "
  std::string update_proc_;    // "EXECUTE [up_Upd_..] "
  std::string append_proc_;    // "EXECUTE [up_Append_..] ?,?,..."
};

}  // namespace bench
