// What the fault tests and their worker share: the table, the records whose
// fields vouch for each other, the blobs whose every byte names its version.
#ifndef LERV32_TESTS_FAULTS_FAULT_SUPPORT_H
#define LERV32_TESTS_FAULTS_FAULT_SUPPORT_H

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "include/lerv32.h"
#include "platform/win_api.h"
#include "tabledef/table_def.h"

namespace killtest {

// Records of version v of number nr: NAME "R<nr>V<v>", WERT v, PRUEF
// "P<nr>V<v>". A record mixing two writes shows it in its fields.
inline const std::vector<std::string> kTableLines = {
    "ALIAS=ABBRUCH", "USEKEYTAB=1", "FIELD=NR,N,8", "FIELD=NAME,C,24", "FIELD=WERT,N,10", "FIELD=PRUEF,C,24",
    "KEY=NAME_KEY,NAME", "KEY=NR_KEY,NR"};

inline std::vector<char> Record(TableDef* td, int nr, int version) {
  std::vector<char> record(static_cast<size_t>(lerv32::RecordSize(td)), '\0');
  const std::string n = std::to_string(nr), v = std::to_string(version);
  rv_FieldFromString(td, 0, record.data(), n.c_str());
  rv_FieldFromString(td, 1, record.data(), ("R" + n + "V" + v).c_str());
  rv_FieldFromString(td, 2, record.data(), v.c_str());
  rv_FieldFromString(td, 3, record.data(), ("P" + n + "V" + v).c_str());
  return record;
}

// Rows that are not whole, as SQL counts them.
inline const char kBrokenRows[] =
    "SELECT count(*) FROM ABBRUCH WHERE RTRIM(NAME) <> 'R' + CAST(CAST(NR AS int) AS varchar(12)) + 'V' + "
    "CAST(CAST(WERT AS int) AS varchar(12)) OR RTRIM(PRUEF) <> 'P' + CAST(CAST(NR AS int) AS varchar(12)) + 'V' + "
    "CAST(CAST(WERT AS int) AS varchar(12))";

// Blob version v: 40,000 to 1,240,000 bytes, each byte (v + its offset) mod
// 251, the version in the first four bytes.
inline std::vector<unsigned char> BlobBytes(uint32_t version) {
  std::vector<unsigned char> bytes(40000 + (version % 7) * 200000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>((version + i) % 251);
  for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(version >> (8 * i));
  return bytes;
}

inline uint32_t BlobVersion(const std::vector<unsigned char>& bytes) {
  uint32_t version = 0;
  for (size_t i = 0; i < 4 && i < bytes.size(); ++i) version |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  return version;
}

// A movable global memory block holding size bytes of data; the caller
// frees it.
inline HGLOBAL GlobalBlock(const void* data, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (block != nullptr) {
    std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
  }
  return block;
}

// A new blob of size bytes of data: its id, 0 when it could not be stored.
inline int32_t NewBlob(void* dbc, const void* data, size_t size) {
  HGLOBAL block = GlobalBlock(data, size);
  int32_t blob_id = 0;
  if (rv_OdbcInsertBlobFromHGlobal(dbc, &blob_id, block) != 0) blob_id = 0;
  GlobalFree(block);
  return blob_id;
}

// Script batches: each puts kScriptRows rows of its number into SKRIPT, as
// one statement or as several in a transaction.
inline constexpr int kScriptRows = 20;

}  // namespace killtest

#endif  // LERV32_TESTS_FAULTS_FAULT_SUPPORT_H
