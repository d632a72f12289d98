// Statement cursors and virtual tables: handles that are none (null, -1, a
// closed cursor), connections that are none, null buffers and specs, and
// fetch codes that name no row.
#include <sql.h>
#include <sqlext.h>

#include <cstdio>

#include "hostile/hostile.h"

namespace hostile {
namespace {

using Handle = std::function<void*(World&)>;

const std::pair<const char*, Handle> kCursors[] = {
    {"cursor null", [](World&) { return static_cast<void*>(nullptr); }},
    {"cursor -1", [](World&) { return MinusOne(); }},
    {"cursor closed", [](World& w) { return w.ClosedCursor(); }},
};

struct CursorCall {
  const char* export_name;
  std::string failure;
  std::function<std::string(void*)> call;
};

std::vector<CursorCall> CursorCalls() {
  return {
      {"rv_StmtFetch", "0 untouched",
       [](void* c) { return Into(64, [c](char* out) { return rv_StmtFetch(c, out, DB_GETFIRST); }); }},
      {"rv_StmtClose", "void",
       [](void* c) {
         rv_StmtClose(c);
         return std::string("void");
       }},
      {"rv_StmtGetBookmark", "0", [](void* c) { return Num(rv_StmtGetBookmark(c)); }},
      {"rv_StmtGetCbStru", "0 untouched",
       [](void* c) { return Into(13328, [c](char* out) { return rv_StmtGetCbStru(c, out); }); }},
      {"rv_StmtGetErrorCode", "0 untouched",
       [](void* c) {
         Buffer state(10), message(128);
         const int32_t code = rv_StmtGetErrorCode(c, state.data(), message.data());
         return Join({Num(code), (state.Untouched() && message.Untouched() ? " untouched" : " written")});
       }},
      {"rv_StmtGetNumCols", "0", [](void* c) { return Num(rv_StmtGetNumCols(c)); }},
      {"rv_StmtGetRecordPtr", "null", [](void* c) { return Ptr(rv_StmtGetRecordPtr(c)); }},
      {"rv_StmtGetRecordSize", "0", [](void* c) { return Num(rv_StmtGetRecordSize(c)); }},
      {"rv_StmtGetStructure", "null", [](void* c) { return Ptr(rv_StmtGetStructure(c)); }},
      {"_vt_CloseTable", "void",
       [](void* c) {
         _vt_CloseTable(c);
         return std::string("void");
       }},
      {"_vt_GetRec", "0 untouched",
       [](void* c) { return Into(64, [c](char* out) { return _vt_GetRec(c, 0, out, DB_GETFIRST); }); }},
      {"_vt_GetRecno", "0", [](void* c) { return Num(_vt_GetRecno(c)); }},
      {"_vt_RecSize", "0", [](void* c) { return Num(_vt_RecSize(c)); }},
      {"_vt_GetProperties", "0 untouched",
       [](void* c) { return Into(13328, [c](char* out) { return _vt_GetProperties(c, out); }); }},
      {"_vt_NumKeys", "0", [](void* c) { return Num(_vt_NumKeys(c)); }},
  };
}

// A live cursor of the world's table, closed after body.
Row OnCursor(const char* name, const char* variant, const char* expected, std::function<std::string(void*)> body) {
  return {name, variant, expected, [body](World& w) {
            void* cursor = w.OpenCursor();
            std::string result = body(cursor);
            rv_StmtClose(cursor);
            return result;
          }};
}

// An executed statement of the world's connection, freed after body.
Row OnStatement(const char* name, const char* variant, const char* expected,
                std::function<std::string(World&, SQLHSTMT)> body) {
  return {name, variant, expected, [body](World& w) {
            SQLHSTMT stmt = SQL_NULL_HSTMT;
            SQLAllocStmt(static_cast<SQLHDBC>(w.db), &stmt);
            SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(const_cast<char*>("SELECT NR FROM HOSTILE")), SQL_NTS);
            std::string result = body(w, stmt);
            SQLFreeStmt(stmt, SQL_DROP);
            return result;
          }};
}

// A virtual table of the world's database through the default entry.
Row OnVirtualTable(const char* name, const char* variant, const char* expected,
                   std::function<std::string(void*)> body) {
  return {name, variant, expected, [body](World& w) {
            char saved[256];
            rv_vt_GetDefaultDSN(saved);
            rv_vt_SetDefaultDSN(("1,!" + w.connect).c_str());
            void* table = _vt_OpenTable("#?#SELECT NR, NAME FROM HOSTILE");
            std::string result = table == nullptr ? "not opened" : body(table);
            _vt_CloseTable(table);
            rv_vt_SetDefaultDSN(saved);
            return result;
          }};
}

Rows Opening() {
  Rows rows = {
      {"rv_StmtOpen", "null table", "null", [](World& w) { return Ptr(rv_StmtOpen(w.db, nullptr, nullptr, 0)); }},
      {"rv_StmtOpen", "address 1", "null", [](World& w) { return Ptr(rv_StmtOpen(w.db, "=1", nullptr, 0)); }},
      {"rv_StmtOpen", "address -1", "null", [](World& w) { return Ptr(rv_StmtOpen(w.db, "=-1", nullptr, 0)); }},
      {"rv_StmtOpen", "address misaligned", "null",
       [](World& w) {
         World::TableDefPtr td = w.Valid();
         char spec[40];
         std::snprintf(spec, sizeof spec, "=0x%llx",
                       static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(td.get()) + 1));
         return Ptr(rv_StmtOpen(w.db, spec, nullptr, 0));
       }},
      {"rv_StmtOpenSQL", "null statement", "null", [](World& w) { return Ptr(rv_StmtOpenSQL(w.db, nullptr, "x", 0)); }},
  };
  // Connections and statements that are none.
  for (void* none : {static_cast<void*>(nullptr), MinusOne()}) {
    const std::string which = none == nullptr ? "null" : "-1";
    rows.push_back({"rv_StmtOpen", "connection " + which, "null",
                    [none](World& w) { return Ptr(rv_StmtOpen(none, w.def_path.c_str(), nullptr, 0)); }});
    rows.push_back({"rv_StmtOpenSQL", "connection " + which, "null",
                    [none](World&) { return Ptr(rv_StmtOpenSQL(none, "SELECT 1", nullptr, 0)); }});
    rows.push_back(OnStatement("rv_StmtSaveResult", ("statement " + which).c_str(), "null",
                               [none](World& w, SQLHSTMT) { return Ptr(rv_StmtSaveResult(w.db, none)); }));
    rows.push_back(OnStatement("rv_StmtSaveResult", ("connection " + which).c_str(), "null",
                               [none](World&, SQLHSTMT stmt) { return Ptr(rv_StmtSaveResult(none, stmt)); }));
  }
  return rows;
}

// What call makes of the cursor c with FieldCnt of its structure set to
// fields, given size bytes (the record's size when 0).
std::string Spoiled(void* c, int32_t fields, const std::function<int64_t(char*)>& call, std::size_t size) {
  TableDef* shape = rv_StmtGetStructure(c);
  const int32_t kept = shape->FieldCnt;
  const std::size_t bytes = size != 0 ? size : static_cast<std::size_t>(rv_StmtGetRecordSize(c));
  shape->FieldCnt = fields;
  std::string result = Into(bytes, call);
  shape->FieldCnt = kept;
  return result;
}

Rows LiveCursors() {
  Rows rows = {
      OnCursor("rv_StmtFetch", "null buffer, no internal one (the row is kept)", "1",
               [](void* c) { return Num(rv_StmtFetch(c, nullptr, DB_GETFIRST)); }),
      OnCursor("rv_StmtGetCbStru", "null block", "0", [](void* c) { return Num(rv_StmtGetCbStru(c, nullptr)); }),
      OnCursor("rv_StmtGetErrorCode", "null state and message (either may be null)", "0",
               [](void* c) { return Num(rv_StmtGetErrorCode(c, nullptr, nullptr)); }),
      OnCursor("rv_StmtGetErrorCode", "after a failed jump, buffers of 10 and 128 bytes", "texts within them",
               [](void* c) {
                 Buffer record(rv_StmtGetRecordSize(c)), state(10), message(128);
                 rv_StmtFetch(c, record.data(), 12345);
                 rv_StmtGetErrorCode(c, state.data(), message.data());
                 const bool within = strnlen(state.data(), 10) < 10 && strnlen(message.data(), 128) < 128;
                 return std::string(within ? "texts within them" : "unterminated");
               }),
      OnCursor("_vt_CloseTable", "a cursor that is no virtual table (kept open)", "void 2",
               [](void* c) {
                 _vt_CloseTable(c);
                 return Join({"void ", Num(rv_StmtGetNumCols(c))});
               }),
      OnCursor("_vt_GetRec", "a cursor that is no virtual table", "0",
               [](void* c) {
                 Buffer record(rv_StmtGetRecordSize(c));
                 return Num(_vt_GetRec(c, 0, record.data(), DB_GETFIRST));
               }),
  };
  // The cursor's structure spoiled by the host between its calls, and put back after.
  for (int32_t fields : {100000, LERV32_MAX_FIELDS + 1}) {
    const std::string variant = "structure spoiled by the host (FieldCnt " + Num(fields) + ")";
    rows.push_back(OnCursor("rv_StmtFetch", variant.c_str(), "0 untouched", [fields](void* c) {
      return Spoiled(
          c, fields, [c](char* record) { return rv_StmtFetch(c, record, DB_GETFIRST); }, 0);
    }));
    rows.push_back(OnCursor("rv_StmtGetCbStru", variant.c_str(), "0 untouched", [fields](void* c) {
      return Spoiled(
          c, fields, [c](char* block) { return rv_StmtGetCbStru(c, block); }, 13328);
    }));
  }
  // Codes that name no fetch are bookmarks, and there are none of 0 and below.
  for (int32_t code : {0, -6}) {
    rows.push_back(OnCursor("rv_StmtFetch", ("code " + Num(code) + " (no bookmark " + Num(code) + ")").c_str(), "0",
                            [code](void* c) {
                              Buffer record(rv_StmtGetRecordSize(c));
                              return Num(rv_StmtFetch(c, record.data(), code));
                            }));
  }
  return rows;
}

Rows VirtualTables() {
  return {
      {"_vt_CreateInstance", "no arguments to spoil", "ptr", [](World&) { return Ptr(_vt_CreateInstance()); }},
      {"_vt_CreateInstance", "QueryInterface with null iid and null out", "E_NOINTERFACE E_POINTER",
       [](World&) {
         le_vTable* object = _vt_CreateInstance();
         void* out = object;
         const int32_t no_iid = object->lpVtbl->QueryInterface(object, nullptr, &out);
         const int32_t no_out = object->lpVtbl->QueryInterface(object, nullptr, nullptr);
         return std::string(no_iid == static_cast<int32_t>(0x80004002u) && out == nullptr ? "E_NOINTERFACE" : "?") +
                (no_out == static_cast<int32_t>(0x80004003u) ? " E_POINTER" : " ?");
       }},
      {"_vt_OpenTable", "null spec", "null", [](World&) { return Ptr(_vt_OpenTable(nullptr)); }},
      {"_vt_OpenTable", "empty spec", "null", [](World&) { return Ptr(_vt_OpenTable("")); }},
      {"_vt_OpenTable", "connection name of 50 characters", "null",
       [](World&) { return Ptr(_vt_OpenTable(("#" + std::string(50, 'c') + "#SELECT 1").c_str())); }},
      {"_vt_OpenTable", "unknown connection", "null", [](World&) { return Ptr(_vt_OpenTable("#fehlt#SELECT 1")); }},
      {"_vt_OpenTable", "definition spec without its end", "null", [](World&) { return Ptr(_vt_OpenTable("*?#")); }},
      OnVirtualTable("_vt_GetRec", "code 0", "0",
                     [](void* t) {
                       Buffer record(_vt_RecSize(t));
                       return Num(_vt_GetRec(t, 0, record.data(), 0));
                     }),
      OnVirtualTable("_vt_GetRec", "null buffer (may be null)", "1",
                     [](void* t) { return Num(_vt_GetRec(t, 0, nullptr, DB_GETFIRST)); }),
      OnVirtualTable("_vt_GetRec", "record number -1", "0",
                     [](void* t) {
                       Buffer record(_vt_RecSize(t));
                       return Num(_vt_GetRec(t, 0, record.data(), -7));
                     }),
      OnVirtualTable("_vt_GetProperties", "null block", "0",
                     [](void* t) { return Num(_vt_GetProperties(t, nullptr)); }),
      {"_vt_FindRecData", "every argument -1 (does nothing)", "0",
       [](World&) { return Num(_vt_FindRecData(-1, -1, -1)); }},
      {"_vt_FindKeyN", "every argument -1 (does nothing)", "0",
       [](World&) { return Num(_vt_FindKeyN(-1, -1, -1, -1)); }},
      {"_vt_EvalKey", "every argument -1 (does nothing)", "0", [](World&) { return Num(_vt_EvalKey(-1, -1, -1, -1)); }},
      {"_vt_UpdateRec", "every argument -1 (does nothing)", "0",
       [](World&) { return Num(_vt_UpdateRec(-1, -1, -1, -1)); }},
      {"_vt_DelRec", "every argument -1 (does nothing)", "0", [](World&) { return Num(_vt_DelRec(-1, -1, -1, -1)); }},
      {"rv_LockVtDsn", "null name", "null", [](World&) { return Ptr(rv_LockVtDsn(nullptr)); }},
      {"rv_LockVtDsn", "empty name", "null", [](World&) { return Ptr(rv_LockVtDsn("")); }},
      {"rv_LockVtDsn", "unknown name", "null", [](World&) { return Ptr(rv_LockVtDsn("fehlt")); }},
      {"rv_UnlockVtDsn", "without a lock held", "void", Void([](World&) { rv_UnlockVtDsn(); })},
      {"rv_vt_GetDefaultDSN", "null dest", "void", Void([](World&) { rv_vt_GetDefaultDSN(nullptr); })},
      {"rv_vt_SetDefaultDSN", "null entry (kept, as documented)", "'1,Default DSN,,'",
       [](World&) {
         rv_vt_SetDefaultDSN(nullptr);
         Buffer dest(256);
         rv_vt_GetDefaultDSN(dest.data());
         return Text(dest.data());
       }},
      {"rv_vt_SetDefaultDSN", "255 characters, unterminated", "255",
       [](World&) {
         char saved[256];
         rv_vt_GetDefaultDSN(saved);
         rv_vt_SetDefaultDSN(Unterminated("1," + std::string(253, 'D')).get());
         Buffer dest(256);
         rv_vt_GetDefaultDSN(dest.data());
         rv_vt_SetDefaultDSN(saved);
         return Num(static_cast<int64_t>(std::strlen(dest.data())));
       }},
  };
}

}  // namespace

Rows CursorRows() {
  Rows rows;
  for (const CursorCall& c : CursorCalls()) {
    for (const auto& [variant, handle] : kCursors) {
      const auto call = c.call;
      const auto make = handle;
      rows.push_back({c.export_name, variant, c.failure, [call, make](World& w) { return call(make(w)); }});
    }
  }
  for (Rows part : {Opening(), LiveCursors(), VirtualTables()}) rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

}  // namespace hostile
