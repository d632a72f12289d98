// Record access, scripts and prepared sets on the world's table: every call
// that takes a connection given none (null), a made-up one (-1) and one that
// was disconnected; then null pointers, numbers that name no key or record,
// and sizes of zero and below.
#include <algorithm>
#include <iterator>

#include "hostile/hostile.h"

namespace hostile {
namespace {

using Td = TableDef*;
using Dbc = LERV32_HDBC;

// "<result> untouched" or "<result> read" of get, given a copy of the world's record.
std::string Read(World& w, const std::function<int32_t(char*)>& get) {
  Record rec(w);
  const int32_t result = get(rec.data());
  return Join({Num(result), (rec.Changed(w) ? " read" : " untouched")});
}

}  // namespace

const std::vector<TableCall>& TableCalls() {
  static const std::vector<TableCall> calls = {
      {"rv_OdbcGetRecord", "0 untouched", true,
       [](World& w, Dbc c, Td td) { return Read(w, [&](char* r) { return rv_OdbcGetRecord(c, td, 2, r); }); }},
      {"rv_OdbcFirstRecId", "0", true, [](World&, Dbc c, Td td) { return Num(rv_OdbcFirstRecId(c, td, 0)); }},
      {"rv_OdbcLastRecId", "0", true, [](World&, Dbc c, Td td) { return Num(rv_OdbcLastRecId(c, td, 2)); }},
      {"rv_OdbcNextRecId", "0", true, [](World&, Dbc c, Td td) { return Num(rv_OdbcNextRecId(c, td, 0, 1)); }},
      {"rv_OdbcPriorRecId", "0", true, [](World&, Dbc c, Td td) { return Num(rv_OdbcPriorRecId(c, td, 0, 1)); }},
      {"rv_CreateTable", "0", false, [](World&, Dbc c, Td td) { return Num(rv_CreateTable(c, td, 1, nullptr)); }},
      {"rv_OdbcAppendBlank", "0", false, [](World&, Dbc c, Td td) { return Num(rv_OdbcAppendBlank(c, td)); }},
      {"rv_OdbcAppendRecord", "0", false,
       [](World& w, Dbc c, Td td) { return Num(rv_OdbcAppendRecord(c, td, Record(w).data())); }},
      {"rv_OdbcUpdateRecord", "0", true,
       [](World& w, Dbc c, Td td) { return Num(rv_OdbcUpdateRecord(c, td, 1, Record(w).data())); }},
      {"rv_OdbcDeleteRecord", "0", true, [](World&, Dbc c, Td td) { return Num(rv_OdbcDeleteRecord(c, td, 999)); }},
      {"rv_OdbcZap", "0", false, [](World&, Dbc c, Td td) { return Num(rv_OdbcZap(c, td)); }},
      {"rv_OdbcReorg", "void", false,
       [](World&, Dbc c, Td td) {
         rv_OdbcReorg(c, td);
         return std::string("void");
       }},
      {"rv_OdbcFindFirstRecId", "0", true,
       [](World&, Dbc c, Td td) { return Num(rv_OdbcFindFirstRecId(c, td, 0, Unterminated("Meier").get(), 5)); }},
      {"rv_OdbcFindLastRecId", "0", true,
       [](World&, Dbc c, Td td) { return Num(rv_OdbcFindLastRecId(c, td, 0, Unterminated("Meier").get(), 5)); }},
      {"rv_OdbcPrevNext50", "0 page untouched", true,
       [](World&, Dbc c, Td td) {
         Buffer page(50 * sizeof(int32_t));
         const int32_t n = rv_OdbcPrevNext50(c, td, 1, reinterpret_cast<int32_t*>(page.data()), 0, 0);
         return Join({Num(n), (page.Untouched() ? " page untouched" : " page written")});
       }},
      {"rv_OdbcQfwReorg", "1", false, [](World&, Dbc c, Td td) { return Num(rv_OdbcQfwReorg(c, td)); }},
      {"rv_OdbcFirstRecIdEx", "0", true, [](World&, Dbc c, Td td) { return Num(rv_OdbcFirstRecIdEx(c, td, 0)); }},
      {"rv_OdbcLastRecIdEx", "0", true, [](World&, Dbc c, Td td) { return Num(rv_OdbcLastRecIdEx(c, td, 2)); }},
      {"rv_OdbcNextRecIdEx", "0", true, [](World&, Dbc c, Td td) { return Num(rv_OdbcNextRecIdEx(c, td, 0, 1)); }},
      {"rv_OdbcPriorRecIdEx", "0", true, [](World&, Dbc c, Td td) { return Num(rv_OdbcPriorRecIdEx(c, td, 0, 1)); }},
      {"rv_OdbcFindFirstRecIdEx", "0", true,
       [](World&, Dbc c, Td td) { return Num(rv_OdbcFindFirstRecIdEx(c, td, 0, Unterminated("Meier").get(), 5)); }},
      {"rv_OdbcFindLastRecIdEx", "0", true,
       [](World&, Dbc c, Td td) { return Num(rv_OdbcFindLastRecIdEx(c, td, 0, Unterminated("Meier").get(), 5)); }},
      {"rv_OdbcGetRecordEx", "0 untouched", true,
       [](World& w, Dbc c, Td td) { return Read(w, [&](char* r) { return rv_OdbcGetRecordEx(c, td, 2, r); }); }},
      {"rv_OdbcAppendRecordEx", "0", false,
       [](World& w, Dbc c, Td td) { return Num(rv_OdbcAppendRecordEx(c, td, Record(w).data())); }},
      {"rv_OdbcUpdateRecordEx", "0", true,
       [](World& w, Dbc c, Td td) { return Num(rv_OdbcUpdateRecordEx(c, td, 1, Record(w).data())); }},
      {"rv_OdbcDeleteRecordEx", "0", true, [](World&, Dbc c, Td td) { return Num(rv_OdbcDeleteRecordEx(c, td, 999)); }},
  };
  return calls;
}

namespace {

// The calls of the connection only.
std::vector<TableCall> ConnectionCalls() {
  std::vector<TableCall> calls = TableCalls();
  const std::vector<TableCall> more = {
      {"rv_CallStatement", "0", false,
       [](World&, Dbc c, Td) {
         Buffer errors(100, '\0');
         return Num(rv_CallStatement(c, "SELECT 1", errors.data(), 100));
       }},
      {"rv_CallSqlFile", "0", false,
       [](World& w, Dbc c, Td) {
         Buffer errors(100, '\0');
         return Num(rv_CallSqlFile(c, nullptr, w.def_path.c_str(), errors.data(), 100));
       }},
      {"rv_OdbcPrepareAll", "void no set", false,
       [](World&, Dbc c, Td td) {
         td->ExLevel = 2;
         rv_OdbcPrepareAll(td, c);
         return Join({std::string("void"), (rv_GetSqlRecPtr(td) == nullptr ? " no set" : " set")});
       }},
  };
  calls.insert(calls.end(), more.begin(), more.end());
  return calls;
}

// The calls of ConnectionCalls on a definition whose set is prepared on the
// world's connection: a connection that is not that one never reaches it.
const char* const kPreparedToo[] = {"rv_OdbcFirstRecIdEx", "rv_OdbcGetRecordEx", "rv_OdbcFindFirstRecIdEx",
                                    "rv_OdbcUpdateRecordEx", "rv_OdbcDeleteRecordEx"};

Row OnTable(const char* name, const char* variant, const char* expected, std::function<std::string(World&, Td)> body) {
  return {name, variant, expected, [body](World& w) {
            World::TableDefPtr td = w.Valid();
            return body(w, td.get());
          }};
}

// A definition at ExLevel 2 with its set prepared on the world's connection.
Row OnPrepared(const char* name, const char* variant, const char* expected,
               std::function<std::string(World&, Td)> body) {
  return {name, std::string(variant) + " (prepared set)", expected, [body](World& w) {
            World::TableDefPtr td = w.Valid();
            td->ExLevel = 2;
            rv_OdbcPrepareAll(td.get(), w.db);
            if (rv_GetSqlRecPtr(td.get()) == nullptr) return std::string("no set prepared");
            std::string result = body(w, td.get());
            rv_OdbcUnprepareAll(td.get());
            return result;
          }};
}

std::string Page(int32_t n, const Buffer& page) {
  return Join({Num(n), (page.Untouched() ? " page untouched" : " page written")});
}

// A call on a valid definition and the world's connection that gives a number.
struct Counted {
  const char* name;
  const char* variant;
  const char* expected;
  std::function<int32_t(Dbc, Td)> call;
};

const Counted kCounted[] = {
    {"rv_OdbcGetRecord", "null record", "0", [](Dbc db, Td td) { return rv_OdbcGetRecord(db, td, 1, nullptr); }},
    {"rv_OdbcFirstRecId", "key KeyCnt", "0", [](Dbc db, Td td) { return rv_OdbcFirstRecId(db, td, 3); }},
    {"rv_OdbcFirstRecId", "key 16", "0", [](Dbc db, Td td) { return rv_OdbcFirstRecId(db, td, 16); }},
    {"rv_OdbcFirstRecId", "key -1 (RecId order, as documented)", "1",
     [](Dbc db, Td td) { return rv_OdbcFirstRecId(db, td, -1); }},
    {"rv_OdbcLastRecId", "key 200", "0", [](Dbc db, Td td) { return rv_OdbcLastRecId(db, td, 200); }},
    {"rv_OdbcNextRecId", "RecId -1", "0", [](Dbc db, Td td) { return rv_OdbcNextRecId(db, td, 0, -1); }},
    {"rv_OdbcNextRecId", "key KeyCnt", "0", [](Dbc db, Td td) { return rv_OdbcNextRecId(db, td, 3, 1); }},
    {"rv_OdbcPriorRecId", "RecId 0", "0", [](Dbc db, Td td) { return rv_OdbcPriorRecId(db, td, 0, 0); }},
    {"rv_OdbcPriorRecId", "key -2 (RecId order)", "0", [](Dbc db, Td td) { return rv_OdbcPriorRecId(db, td, -2, 1); }},
    {"rv_OdbcAppendRecord", "null record", "0", [](Dbc db, Td td) { return rv_OdbcAppendRecord(db, td, nullptr); }},
    {"rv_OdbcUpdateRecord", "null record", "0", [](Dbc db, Td td) { return rv_OdbcUpdateRecord(db, td, 1, nullptr); }},
    {"rv_OdbcDeleteRecord", "RecId -1 (1: no such record, as documented)", "1",
     [](Dbc db, Td td) { return rv_OdbcDeleteRecord(db, td, -1); }},
    {"rv_OdbcFindFirstRecId", "null value", "0",
     [](Dbc db, Td td) { return rv_OdbcFindFirstRecId(db, td, 0, nullptr, 5); }},
    {"rv_OdbcFindFirstRecId", "length 0", "0",
     [](Dbc db, Td td) { return rv_OdbcFindFirstRecId(db, td, 0, Unterminated("M").get(), 0); }},
    {"rv_OdbcFindFirstRecId", "length -1", "0",
     [](Dbc db, Td td) { return rv_OdbcFindFirstRecId(db, td, 0, Unterminated("M").get(), -1); }},
    {"rv_OdbcFindFirstRecId", "key -1", "0",
     [](Dbc db, Td td) { return rv_OdbcFindFirstRecId(db, td, -1, Unterminated("Meier").get(), 5); }},
    {"rv_OdbcFindFirstRecId", "key KeyCnt", "0",
     [](Dbc db, Td td) { return rv_OdbcFindFirstRecId(db, td, 3, Unterminated("Meier").get(), 5); }},
    {"rv_OdbcFindLastRecId", "null value", "0",
     [](Dbc db, Td td) { return rv_OdbcFindLastRecId(db, td, 0, nullptr, 5); }},
    {"rv_OdbcFindLastRecId", "length -1", "0",
     [](Dbc db, Td td) { return rv_OdbcFindLastRecId(db, td, 0, Unterminated("M").get(), -1); }},
    {"rv_OdbcPrevNext50", "null page", "0", [](Dbc db, Td td) { return rv_OdbcPrevNext50(db, td, 1, nullptr, 0, 0); }},
    {"rv_OdbcFillSqlRec", "null record", "0", [](Dbc, Td td) { return rv_OdbcFillSqlRec(td, nullptr); }},
    {"rv_OdbcScanSqlRec", "null record", "0", [](Dbc, Td td) { return rv_OdbcScanSqlRec(td, nullptr); }},
    {"rv_OdbcGetRecordEx", "null record, no set", "0",
     [](Dbc db, Td td) { return rv_OdbcGetRecordEx(db, td, 1, nullptr); }},
    {"rv_OdbcAppendRecordEx", "null record", "0", [](Dbc db, Td td) { return rv_OdbcAppendRecordEx(db, td, nullptr); }},
    {"rv_OdbcUpdateRecordEx", "null record", "0",
     [](Dbc db, Td td) { return rv_OdbcUpdateRecordEx(db, td, 1, nullptr); }},
    {"rv_OdbcFirstRecIdEx", "key KeyCnt", "0", [](Dbc db, Td td) { return rv_OdbcFirstRecIdEx(db, td, 3); }},
    {"rv_OdbcLastRecIdEx", "key 16", "0", [](Dbc db, Td td) { return rv_OdbcLastRecIdEx(db, td, 16); }},
    {"rv_OdbcNextRecIdEx", "RecId -1", "0", [](Dbc db, Td td) { return rv_OdbcNextRecIdEx(db, td, 0, -1); }},
    {"rv_OdbcPriorRecIdEx", "key 200", "0", [](Dbc db, Td td) { return rv_OdbcPriorRecIdEx(db, td, 200, 1); }},
    {"rv_OdbcFindFirstRecIdEx", "null value", "0",
     [](Dbc db, Td td) { return rv_OdbcFindFirstRecIdEx(db, td, 0, nullptr, 5); }},
    {"rv_OdbcFindLastRecIdEx", "length 0", "0",
     [](Dbc db, Td td) { return rv_OdbcFindLastRecIdEx(db, td, 0, Unterminated("M").get(), 0); }},
    {"rv_OdbcDeleteRecordEx", "RecId -1 (1: no such record, as documented)", "1",
     [](Dbc db, Td td) { return rv_OdbcDeleteRecordEx(db, td, -1); }},
};

// The same through a prepared set.
const Counted kCountedPrepared[] = {
    {"rv_OdbcGetRecordEx", "null record (values stay in the set, as documented)", "1",
     [](Dbc db, Td td) { return rv_OdbcGetRecordEx(db, td, 1, nullptr); }},
    {"rv_OdbcFindFirstRecIdEx", "null value", "0",
     [](Dbc db, Td td) { return rv_OdbcFindFirstRecIdEx(db, td, 0, nullptr, 5); }},
    {"rv_OdbcFindLastRecIdEx", "key 16", "0",
     [](Dbc db, Td td) { return rv_OdbcFindLastRecIdEx(db, td, 16, Unterminated("M").get(), 1); }},
    {"rv_OdbcFirstRecIdEx", "key 16", "0", [](Dbc db, Td td) { return rv_OdbcFirstRecIdEx(db, td, 16); }},
    {"rv_OdbcNextRecIdEx", "key KeyCnt", "0", [](Dbc db, Td td) { return rv_OdbcNextRecIdEx(db, td, 3, 1); }},
    {"rv_OdbcPriorRecIdEx", "RecId -1", "0", [](Dbc db, Td td) { return rv_OdbcPriorRecIdEx(db, td, 0, -1); }},
    {"rv_OdbcLastRecIdEx", "key -1 (RecId order, as documented)", "3",
     [](Dbc db, Td td) { return rv_OdbcLastRecIdEx(db, td, -1); }},
    {"rv_OdbcUpdateRecordEx", "null record", "0",
     [](Dbc db, Td td) { return rv_OdbcUpdateRecordEx(db, td, 1, nullptr); }},
    {"rv_OdbcAppendRecordEx", "null record", "0", [](Dbc db, Td td) { return rv_OdbcAppendRecordEx(db, td, nullptr); }},
    {"rv_OdbcDeleteRecordEx", "RecId -1 (1: no such record, as documented)", "1",
     [](Dbc db, Td td) { return rv_OdbcDeleteRecordEx(db, td, -1); }},
    {"rv_OdbcFillSqlRec", "null record", "0", [](Dbc, Td td) { return rv_OdbcFillSqlRec(td, nullptr); }},
    {"rv_OdbcScanSqlRec", "null record", "0", [](Dbc, Td td) { return rv_OdbcScanSqlRec(td, nullptr); }},
};

Rows NumbersAndPointers() {
  Rows rows = {
      OnTable("rv_OdbcUpdateRecord", "RecId -1 (1: no such record, as documented)", "1",
              [](World& w, Td td) { return Num(rv_OdbcUpdateRecord(w.db, td, -1, w.record.data())); }),
      OnTable("rv_OdbcFindFirstRecId", "length 129 through the procedures", "0",
              [](World& w, Td td) {
                return Num(rv_OdbcFindFirstRecId(w.db, td, 0, Unterminated(std::string(129, 'M')).get(), 129));
              }),
      OnTable(
          "rv_OdbcFindFirstRecId", "value ending inside a number field", "0",
          [](World& w, Td td) { return Num(rv_OdbcFindFirstRecId(w.db, td, 1, Unterminated("\x67\x12").get(), 2)); }),
      OnTable("rv_OdbcFindFirstRecId", "whole key, exactly its bytes", "1",
              [](World& w, Td td) {
                return Num(rv_OdbcFindFirstRecId(w.db, td, 1, Unterminated(std::string(w.record.data(), 4)).get(), 4));
              }),
      OnTable("rv_OdbcGetRecord", "RecId -1", "0 untouched",
              [](World& w, Td td) { return Read(w, [&](char* rec) { return rv_OdbcGetRecord(w.db, td, -1, rec); }); }),
      OnTable("rv_OdbcGetRecord", "RecId 0", "0 untouched",
              [](World& w, Td td) { return Read(w, [&](char* rec) { return rv_OdbcGetRecord(w.db, td, 0, rec); }); }),
      {"rv_OdbcQfwSearch", "every argument -1 (does nothing)", "0",
       [](World&) { return Num(rv_OdbcQfwSearch(-1, -1, -1, -1, -1)); }},
      {"rv_DropTable", "every argument -1 (does nothing)", "0", [](World&) { return Num(rv_DropTable(-1, -1, -1)); }},
      {"rv_OdbcPrepareAll", "null TableDef", "void", Void([](World& w) { rv_OdbcPrepareAll(nullptr, w.db); })},
      {"rv_OdbcUnprepareAll", "null TableDef", "void", Void([](World&) { rv_OdbcUnprepareAll(nullptr); })},
      OnPrepared(
          "rv_OdbcGetRecordEx", "RecId -1", "0 untouched",
          [](World& w, Td td) { return Read(w, [&](char* rec) { return rv_OdbcGetRecordEx(w.db, td, -1, rec); }); }),
      OnPrepared(
          "rv_OdbcFindFirstRecIdEx", "length -1", "0",
          [](World& w, Td td) { return Num(rv_OdbcFindFirstRecIdEx(w.db, td, 0, Unterminated("M").get(), -1)); }),
      OnPrepared("rv_OdbcFindLastRecIdEx", "length 129", "0",
                 [](World& w, Td td) {
                   return Num(rv_OdbcFindLastRecIdEx(w.db, td, 0, Unterminated(std::string(129, 'M')).get(), 129));
                 }),
      OnPrepared("rv_GetSqlRecPtr", "a copy of the definition (not its own set)", "null",
                 [](World&, Td td) {
                   TableDef copy = *td;
                   return Ptr(rv_GetSqlRecPtr(&copy));
                 }),
      OnPrepared("rv_OdbcUnprepareAll", "a copy of the definition (not its own set)", "void set kept",
                 [](World&, Td td) {
                   TableDef copy = *td;
                   rv_OdbcUnprepareAll(&copy);
                   return Join({std::string("void"), (rv_GetSqlRecPtr(td) != nullptr ? " set kept" : " set freed")});
                 }),
  };
  for (const Counted& c : kCounted) {
    const auto call = c.call;
    rows.push_back(OnTable(c.name, c.variant, c.expected, [call](World& w, Td td) { return Num(call(w.db, td)); }));
  }
  for (const Counted& c : kCountedPrepared) {
    const auto call = c.call;
    rows.push_back(OnPrepared(c.name, c.variant, c.expected, [call](World& w, Td td) { return Num(call(w.db, td)); }));
  }
  // Pages that name no row stay as they were; prior -1 is as prior 1.
  struct PageCall {
    const char* variant;
    const char* expected;
    int32_t rec_id;
    int32_t prior;
    int32_t key;
  };
  const PageCall pages[] = {
      {"key -1", "0 page untouched", 1, 0, -1},
      {"key KeyCnt", "0 page untouched", 1, 0, 3},
      {"RecId -1", "0 page untouched", -1, 0, 0},
      {"prior -1 (non-zero: the ones before)", "1 page written", 1, -1, 0},
  };
  for (const PageCall& p : pages) {
    rows.push_back(OnTable("rv_OdbcPrevNext50", p.variant, p.expected, [p](World& w, Td td) {
      Buffer page(200);
      return Page(rv_OdbcPrevNext50(w.db, td, p.rec_id, reinterpret_cast<int32_t*>(page.data()), p.prior, p.key), page);
    }));
  }
  return rows;
}

// "<what run gave> untouched|written" of a script run given errors of size bytes.
Call Errors(std::size_t size, std::function<int32_t(World&, char*)> run) {
  return [size, run](World& w) {
    Buffer errors(size);
    const int32_t ran = run(w, errors.data());
    return Join({Num(ran), Touched(errors)});
  };
}

Rows Scripts() {
  Rows rows = {
      {"rv_CallStatement", "null script", "0 untouched",
       Errors(100, [](World& w, char* errors) { return rv_CallStatement(w.db, nullptr, errors, 100); })},
      {"rv_CallStatement", "null errors", "0",
       [](World& w) { return Num(rv_CallStatement(w.db, "SELEKT", nullptr, 100)); }},
      {"rv_CallStatement", "length 21, a longer message", "0 message",
       [](World& w) {
         Buffer errors(21);
         const int32_t ran = rv_CallStatement(w.db, "SELEKT", errors.data(), 21);
         return Join({Num(ran), (std::strlen(errors.data()) < 21 ? " message" : " unterminated")});
       }},
      {"rv_CallSqlFile", "null path", "0",
       [](World& w) {
         Buffer errors(100);
         return Num(rv_CallSqlFile(w.db, nullptr, nullptr, errors.data(), 100));
       }},
      {"rv_CallSqlFile", "null errors", "0",
       [](World& w) { return Num(rv_CallSqlFile(w.db, nullptr, w.def_path.c_str(), nullptr, 100)); }},
      {"rv_CallSqlFile", "missing file, length 5", "0 'file'",
       [](World& w) {
         Buffer errors(5);
         const int32_t ran = rv_CallSqlFile(w.db, nullptr, w.temp.File("fehlt.sql").c_str(), errors.data(), 5);
         return Join({Num(ran), " ", Text(errors.data())});
       }},
  };
  for (int32_t length : {0, -1}) {
    rows.push_back(
        {"rv_CallStatement", "length " + Num(length), "0 untouched",
         Errors(1, [length](World& w, char* errors) { return rv_CallStatement(w.db, "SELEKT", errors, length); })});
    rows.push_back(
        {"rv_CallSqlFile", "length " + Num(length), "0 untouched", Errors(1, [length](World& w, char* errors) {
           return rv_CallSqlFile(w.db, nullptr, w.temp.File("fehlt.sql").c_str(), errors, length);
         })});
  }
  return rows;
}

}  // namespace

Rows RecordRows() {
  Rows rows;
  const std::pair<const char*, std::function<Dbc(World&)>> handles[] = {
      {"connection null", [](World&) { return Dbc{nullptr}; }},
      {"connection -1", [](World&) { return MinusOne(); }},
  };
  for (const TableCall& c : ConnectionCalls()) {
    const auto call = c.call;
    const bool prepared_too = std::count(std::begin(kPreparedToo), std::end(kPreparedToo), std::string(c.name)) > 0;
    for (const auto& [variant, handle] : handles) {
      const auto make = handle;
      const auto on = [call, make](World& w, Td td) { return call(w, make(w), td); };
      rows.push_back(OnTable(c.name, variant, c.failure.c_str(), on));
      if (prepared_too) rows.push_back(OnPrepared(c.name, variant, c.failure.c_str(), on));
    }
  }
  for (Rows part : {NumbersAndPointers(), Scripts()}) rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

}  // namespace hostile
