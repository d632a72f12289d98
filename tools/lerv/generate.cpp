#include "tools/lerv/generate.h"

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "tools/lerv/failure.h"

namespace lerv {
namespace {

// One bounded generator call, given room until its text fits.
std::string Bounded(const std::function<int32_t(char*, int32_t)>& generate) {
  constexpr int32_t kLargest = 1 << 26;
  for (int32_t capacity = 1 << 16; capacity <= kLargest; capacity *= 2) {
    std::vector<char> buffer(static_cast<size_t>(capacity), '\0');
    const int32_t written = generate(buffer.data(), capacity);
    if (written >= 0) return std::string(buffer.data(), static_cast<size_t>(written));
  }
  throw Failure("Erzeugter Text zu lang");
}

bool InAnyKey(const TableDef* td, int32_t field) {
  for (int32_t key = 0; key < rv_KeyCnt(td); ++key) {
    for (int32_t token = 0; token < rv_KeyTokenCnt(td, key); ++token) {
      if (rv_KeyTokenFieldNo(td, key, token) == field) return true;
    }
  }
  return false;
}

// The library gives no structure file for a field name the file would carry
// bare and misread; name the field instead of a text that is "too long".
void RequireStructureNames(const TableDef* td, bool key_fields_only) {
  for (int32_t field = 0; field < rv_FieldCnt(td); ++field) {
    const std::string name = rv_FieldName(td, field);
    const bool carried = !name.empty() && std::isdigit(static_cast<unsigned char>(name.front())) == 0 &&
                         name.find_first_of(LERV32_STRUCT_NAME_STOPS) == std::string::npos;
    if (carried) continue;
    if (key_fields_only && !InAnyKey(td, field)) continue;
    throw Failure("Feldname \"" + name + "\" ist in einer Strukturdatei nicht darstellbar " +
                  "(erlaubt sind Buchstaben, Ziffern und _, am Anfang keine Ziffer)");
  }
}

}  // namespace

std::string Generate(const TableDef* td, Artifact artifact, bool transact_sql) {
  const int32_t tsql = transact_sql ? 1 : 0;
  switch (artifact) {
    case Artifact::kScript: {
      std::string script = Bounded([&](char* out, int32_t n) { return rv_GenSqlTableDefN(td, out, n, tsql); });
      if (transact_sql) script += Bounded([&](char* out, int32_t n) { return rv_GenSqlTableBasicProcN(td, out, n, 1); });
      for (int32_t key = 0; key < rv_KeyCnt(td); ++key) {
        script += Bounded([&](char* out, int32_t n) { return rv_GenSqlIndexDefN(td, out, n, key, tsql); });
      }
      return script;
    }
    case Artifact::kDrop:
      return Bounded([&](char* out, int32_t n) { return rv_GenSqlDropDefN(td, out, n); });
    case Artifact::kStruct:
      RequireStructureNames(td, false);
      return Bounded([&](char* out, int32_t n) { return rv_GenCodebaseStructN(td, out, n); });
    case Artifact::kTriggerStruct:
      RequireStructureNames(td, true);
      return Bounded([&](char* out, int32_t n) { return rv_GenSqlTriggerStructN(td, out, n); });
    case Artifact::kCpp:
      return Bounded([&](char* out, int32_t n) { return rv_GenCppTableDefN(td, out, n); });
  }
  return "";
}

}  // namespace lerv
