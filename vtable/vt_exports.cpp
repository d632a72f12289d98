// The virtual-table exports and the one static object that forwards to them.
#include <cstring>
#include <mutex>
#include <string>

#include "frame/export_guard.h"
#include "include/lerv32.h"
#include "vtable/vt_connections.h"
#include "vtable/vt_open.h"

namespace lerv32 {
namespace {

constexpr LERV32_GUID kIidVTable = {0x3EDB5BF9, 0x7C51, 0x40A7, {0x94, 0x82, 0xDE, 0x08, 0x7D, 0xA0, 0xF9, 0xE0}};
constexpr LERV32_GUID kIidUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr int32_t kNoInterface = static_cast<int32_t>(0x80004002u);

using Lock = std::lock_guard<std::recursive_mutex>;

// Runs body on an open table under the lock; on_other for anything else.
template <typename Result, typename Body>
Result OnTable(void* table, Result on_other, Body&& body) {
  return Guarded<Result>(on_other, [&] {
    Lock lock(VtMutex());
    return IsVtTable(table) ? body() : on_other;
  });
}

bool SameGuid(const LERV32_GUID* a, const LERV32_GUID& b) { return std::memcmp(a, &b, sizeof b) == 0; }

}  // namespace
}  // namespace lerv32

using lerv32::Guarded;
using lerv32::Lock;
using lerv32::OnTable;
using lerv32::VtMutex;

extern "C" {

LERV32_CURSOR LERV32_CALL _vt_OpenTable(const char* spec) {
  return Guarded<void*>(nullptr, [&] {
    Lock lock(VtMutex());
    return lerv32::OpenVirtualTable(spec);
  });
}

void LERV32_CALL _vt_CloseTable(LERV32_CURSOR table) {
  Guarded<int>(0, [&] {
    Lock lock(VtMutex());
    if (!lerv32::RemoveVtTable(table)) return 0;
    rv_StmtClose(table);
    lerv32::ClearVtConnectionsWhenUnused();
    return 0;
  });
}

int32_t LERV32_CALL _vt_GetRec(LERV32_CURSOR table, int32_t, char* buffer, int32_t code) {
  if (code == 0) return 0;
  return OnTable<int32_t>(table, 0, [&] { return rv_StmtFetch(table, buffer, code); });
}

int32_t LERV32_CALL _vt_GetRecno(LERV32_CURSOR table) {
  return OnTable<int32_t>(table, 0, [&] { return rv_StmtGetBookmark(table); });
}

int32_t LERV32_CALL _vt_RecSize(LERV32_CURSOR table) {
  return OnTable<int32_t>(table, 0, [&] { return rv_StmtGetRecordSize(table); });
}

int32_t LERV32_CALL _vt_GetProperties(LERV32_CURSOR table, void* block) {
  return OnTable<int32_t>(table, 0, [&] { return rv_StmtGetCbStru(table, block); });
}

int32_t LERV32_CALL _vt_NumKeys(LERV32_CURSOR) { return 0; }
int32_t LERV32_CALL _vt_FindRecData(int32_t, int32_t, int32_t) { return 0; }
int32_t LERV32_CALL _vt_FindKeyN(int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t LERV32_CALL _vt_EvalKey(int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t LERV32_CALL _vt_UpdateRec(int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t LERV32_CALL _vt_DelRec(int32_t, int32_t, int32_t, int32_t) { return 0; }

LERV32_HDBC LERV32_CALL rv_LockVtDsn(const char* name) {
  return Guarded<LERV32_HDBC>(nullptr, [&] {
    Lock lock(VtMutex());
    const lerv32::VtConnection connection = lerv32::GetVtConnection(name, lerv32::VtHolder::kLock);
    if (connection.dbc != nullptr) lerv32::AddVtLock();
    return connection.dbc;
  });
}

void LERV32_CALL rv_UnlockVtDsn(void) {
  Guarded<int>(0, [&] {
    Lock lock(VtMutex());
    lerv32::ReleaseVtLock();
    return 0;
  });
}

void LERV32_CALL rv_vt_GetDefaultDSN(char* dest) {
  if (dest == nullptr) return;
  Guarded<int>(0, [&] {
    Lock lock(VtMutex());
    const std::string entry = lerv32::DefaultVtEntry();
    std::memcpy(dest, entry.c_str(), entry.size() + 1);
    return 0;
  });
}

void LERV32_CALL rv_vt_SetDefaultDSN(const char* entry) {
  Guarded<int>(0, [&] {
    Lock lock(VtMutex());
    lerv32::SetDefaultVtEntry(entry);
    return 0;
  });
}

}  // extern "C"

// ---- The object: one static instance whose methods forward to the exports.
namespace lerv32 {
namespace {

int32_t LERV32_CALL QueryInterface(le_vTable* self, const LERV32_GUID* iid, void** object) {
  if (object == nullptr) return static_cast<int32_t>(0x80004003u);  // E_POINTER
  if (iid != nullptr && (SameGuid(iid, kIidVTable) || SameGuid(iid, kIidUnknown))) {
    *object = self;
    return 0;
  }
  *object = nullptr;
  return kNoInterface;
}
uint32_t LERV32_CALL AddRef(le_vTable*) { return 2; }
uint32_t LERV32_CALL Release(le_vTable*) { return 1; }
void* LERV32_CALL OpenTable(le_vTable*, const char* spec) { return _vt_OpenTable(spec); }
void LERV32_CALL CloseTable(le_vTable*, void* table) { _vt_CloseTable(table); }
int32_t LERV32_CALL NumKeys(le_vTable*, void* table) { return _vt_NumKeys(table); }
int32_t LERV32_CALL RecSize(le_vTable*, void* table) { return _vt_RecSize(table); }
int32_t LERV32_CALL GetRecno(le_vTable*, void* table) { return _vt_GetRecno(table); }
int32_t LERV32_CALL FindRecData(le_vTable*, int32_t a, int32_t b, int32_t c) { return _vt_FindRecData(a, b, c); }
int32_t LERV32_CALL FindKeyN(le_vTable*, int32_t a, int32_t b, int32_t c, int32_t d) {
  return _vt_FindKeyN(a, b, c, d);
}
int32_t LERV32_CALL ReservedSlot(le_vTable*, int32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t LERV32_CALL EvalKey(le_vTable*, int32_t a, int32_t b, int32_t c, int32_t d) { return _vt_EvalKey(a, b, c, d); }
int32_t LERV32_CALL GetRec(le_vTable*, void* table, int32_t unused, char* buffer, int32_t code) {
  return _vt_GetRec(table, unused, buffer, code);
}
int32_t LERV32_CALL UpdateRec(le_vTable*, int32_t a, int32_t b, int32_t c, int32_t d) {
  return _vt_UpdateRec(a, b, c, d);
}
int32_t LERV32_CALL DelRec(le_vTable*, int32_t a, int32_t b, int32_t c, int32_t d) { return _vt_DelRec(a, b, c, d); }
int32_t LERV32_CALL GetProperties(le_vTable*, void* table, void* block) { return _vt_GetProperties(table, block); }

constexpr le_vTableVtbl kMethods = {QueryInterface, AddRef,  Release,      OpenTable, CloseTable, NumKeys,
                                    RecSize,        GetRecno, FindRecData, FindKeyN,  ReservedSlot, EvalKey,
                                    GetRec,         UpdateRec, DelRec,     GetProperties};

// Never destroyed; holds nothing of its own.
struct le_vTable_loc : le_vTable {};
le_vTable_loc the_object{{&kMethods}};

}  // namespace
}  // namespace lerv32

extern "C" le_vTable* LERV32_CALL _vt_CreateInstance(void) {
  le_vTable* object = &lerv32::the_object;
  object->lpVtbl->AddRef(object);
  return object;
}
