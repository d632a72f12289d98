// Record access, scripts and prepared sets on the world's table: every call
// that takes a connection given none (null), a made-up one (-1) and one that
// was disconnected; then null pointers, numbers that name no key or record,
// and sizes of zero and below.
#include "hostile/hostile.h"

namespace hostile {
namespace {

using Td = TableDef*;
using Dbc = LERV32_HDBC;

struct ConnectionCall {
  const char* export_name;
  std::string failure;
  std::function<std::string(World&, Dbc, Td)> call;
};

std::vector<ConnectionCall> ConnectionCalls() {
  return {
      {"rv_OdbcGetRecord", "0 untouched",
       [](World& w, Dbc c, Td td) {
         Record rec(w);
         return Join({Num(rv_OdbcGetRecord(c, td, 2, rec.data())), (rec.Changed(w) ? " read" : " untouched")});
       }},
      {"rv_OdbcFirstRecId", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcFirstRecId(c, td, 0)); }},
      {"rv_OdbcLastRecId", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcLastRecId(c, td, 0)); }},
      {"rv_OdbcNextRecId", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcNextRecId(c, td, 0, 1)); }},
      {"rv_OdbcPriorRecId", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcPriorRecId(c, td, 0, 1)); }},
      {"rv_CallStatement", "0",
       [](World&, Dbc c, Td) {
         Buffer errors(100, '\0');
         return Num(rv_CallStatement(c, "SELECT 1", errors.data(), 100));
       }},
      {"rv_CallSqlFile", "0",
       [](World& w, Dbc c, Td) {
         Buffer errors(100, '\0');
         return Num(rv_CallSqlFile(c, nullptr, w.def_path.c_str(), errors.data(), 100));
       }},
      {"rv_CreateTable", "0", [](World&, Dbc c, Td td) { return Num(rv_CreateTable(c, td, 1, nullptr)); }},
      {"rv_OdbcAppendBlank", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcAppendBlank(c, td)); }},
      {"rv_OdbcAppendRecord", "0",
       [](World& w, Dbc c, Td td) { return Num(rv_OdbcAppendRecord(c, td, Record(w).data())); }},
      {"rv_OdbcUpdateRecord", "0",
       [](World& w, Dbc c, Td td) { return Num(rv_OdbcUpdateRecord(c, td, 1, Record(w).data())); }},
      {"rv_OdbcDeleteRecord", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcDeleteRecord(c, td, 999)); }},
      {"rv_OdbcZap", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcZap(c, td)); }},
      {"rv_OdbcReorg", "void",
       [](World&, Dbc c, Td td) {
         rv_OdbcReorg(c, td);
         return std::string("void");
       }},
      {"rv_OdbcFindFirstRecId", "0",
       [](World&, Dbc c, Td td) { return Num(rv_OdbcFindFirstRecId(c, td, 0, Unterminated("Meier").get(), 5)); }},
      {"rv_OdbcFindLastRecId", "0",
       [](World&, Dbc c, Td td) { return Num(rv_OdbcFindLastRecId(c, td, 0, Unterminated("Meier").get(), 5)); }},
      {"rv_OdbcPrevNext50", "0 page untouched",
       [](World&, Dbc c, Td td) {
         Buffer page(50 * sizeof(int32_t));
         const int32_t n = rv_OdbcPrevNext50(c, td, 1, reinterpret_cast<int32_t*>(page.data()), 0, 0);
         return Join({Num(n), (page.Untouched() ? " page untouched" : " page written")});
       }},
      {"rv_OdbcQfwReorg", "1", [](World&, Dbc c, Td td) { return Num(rv_OdbcQfwReorg(c, td)); }},
      {"rv_OdbcPrepareAll", "void no set",
       [](World&, Dbc c, Td td) {
         td->ExLevel = 2;
         rv_OdbcPrepareAll(td, c);
         return Join({std::string("void"), (rv_GetSqlRecPtr(td) == nullptr ? " no set" : " set")});
       }},
      {"rv_OdbcFirstRecIdEx", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcFirstRecIdEx(c, td, 0)); }},
      {"rv_OdbcLastRecIdEx", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcLastRecIdEx(c, td, 0)); }},
      {"rv_OdbcNextRecIdEx", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcNextRecIdEx(c, td, 0, 1)); }},
      {"rv_OdbcPriorRecIdEx", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcPriorRecIdEx(c, td, 0, 1)); }},
      {"rv_OdbcFindFirstRecIdEx", "0",
       [](World&, Dbc c, Td td) { return Num(rv_OdbcFindFirstRecIdEx(c, td, 0, Unterminated("Meier").get(), 5)); }},
      {"rv_OdbcFindLastRecIdEx", "0",
       [](World&, Dbc c, Td td) { return Num(rv_OdbcFindLastRecIdEx(c, td, 0, Unterminated("Meier").get(), 5)); }},
      {"rv_OdbcGetRecordEx", "0 untouched",
       [](World& w, Dbc c, Td td) {
         Record rec(w);
         return Join({Num(rv_OdbcGetRecordEx(c, td, 2, rec.data())), (rec.Changed(w) ? " read" : " untouched")});
       }},
      {"rv_OdbcAppendRecordEx", "0",
       [](World& w, Dbc c, Td td) { return Num(rv_OdbcAppendRecordEx(c, td, Record(w).data())); }},
      {"rv_OdbcUpdateRecordEx", "0",
       [](World& w, Dbc c, Td td) { return Num(rv_OdbcUpdateRecordEx(c, td, 1, Record(w).data())); }},
      {"rv_OdbcDeleteRecordEx", "0", [](World&, Dbc c, Td td) { return Num(rv_OdbcDeleteRecordEx(c, td, 999)); }},
  };
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

Rows NumbersAndPointers() {
  return {
      OnTable("rv_OdbcGetRecord", "null record", "0",
              [](World& w, Td td) { return Num(rv_OdbcGetRecord(w.db, td, 1, nullptr)); }),
      OnTable(
          "rv_OdbcGetRecord", "RecId -1", "0 untouched",
          [](World& w, Td td) {
            Record rec(w);
            return Join({Num(rv_OdbcGetRecord(w.db, td, -1, rec.data())), (rec.Changed(w) ? " read" : " untouched")});
          }),
      OnTable(
          "rv_OdbcGetRecord", "RecId 0", "0 untouched",
          [](World& w, Td td) {
            Record rec(w);
            return Join({Num(rv_OdbcGetRecord(w.db, td, 0, rec.data())), (rec.Changed(w) ? " read" : " untouched")});
          }),
      OnTable("rv_OdbcFirstRecId", "key KeyCnt", "0",
              [](World& w, Td td) { return Num(rv_OdbcFirstRecId(w.db, td, 3)); }),
      OnTable("rv_OdbcFirstRecId", "key 16", "0", [](World& w, Td td) { return Num(rv_OdbcFirstRecId(w.db, td, 16)); }),
      OnTable("rv_OdbcFirstRecId", "key -1 (RecId order, as documented)", "1",
              [](World& w, Td td) { return Num(rv_OdbcFirstRecId(w.db, td, -1)); }),
      OnTable("rv_OdbcLastRecId", "key 200", "0", [](World& w, Td td) { return Num(rv_OdbcLastRecId(w.db, td, 200)); }),
      OnTable("rv_OdbcNextRecId", "RecId -1", "0",
              [](World& w, Td td) { return Num(rv_OdbcNextRecId(w.db, td, 0, -1)); }),
      OnTable("rv_OdbcNextRecId", "key KeyCnt", "0",
              [](World& w, Td td) { return Num(rv_OdbcNextRecId(w.db, td, 3, 1)); }),
      OnTable("rv_OdbcPriorRecId", "RecId 0", "0",
              [](World& w, Td td) { return Num(rv_OdbcPriorRecId(w.db, td, 0, 0)); }),
      OnTable("rv_OdbcPriorRecId", "key -2 (RecId order)", "0",
              [](World& w, Td td) { return Num(rv_OdbcPriorRecId(w.db, td, -2, 1)); }),
      OnTable("rv_OdbcAppendRecord", "null record", "0",
              [](World& w, Td td) { return Num(rv_OdbcAppendRecord(w.db, td, nullptr)); }),
      OnTable("rv_OdbcUpdateRecord", "null record", "0",
              [](World& w, Td td) { return Num(rv_OdbcUpdateRecord(w.db, td, 1, nullptr)); }),
      OnTable("rv_OdbcUpdateRecord", "RecId -1 (1: no such record, as documented)", "1",
              [](World& w, Td td) { return Num(rv_OdbcUpdateRecord(w.db, td, -1, w.record.data())); }),
      OnTable("rv_OdbcDeleteRecord", "RecId -1 (1: no such record, as documented)", "1",
              [](World& w, Td td) { return Num(rv_OdbcDeleteRecord(w.db, td, -1)); }),
      OnTable("rv_OdbcFindFirstRecId", "null value", "0",
              [](World& w, Td td) { return Num(rv_OdbcFindFirstRecId(w.db, td, 0, nullptr, 5)); }),
      OnTable("rv_OdbcFindFirstRecId", "length 0", "0",
              [](World& w, Td td) { return Num(rv_OdbcFindFirstRecId(w.db, td, 0, Unterminated("M").get(), 0)); }),
      OnTable("rv_OdbcFindFirstRecId", "length -1", "0",
              [](World& w, Td td) { return Num(rv_OdbcFindFirstRecId(w.db, td, 0, Unterminated("M").get(), -1)); }),
      OnTable("rv_OdbcFindFirstRecId", "key -1", "0",
              [](World& w, Td td) { return Num(rv_OdbcFindFirstRecId(w.db, td, -1, Unterminated("Meier").get(), 5)); }),
      OnTable("rv_OdbcFindFirstRecId", "key KeyCnt", "0",
              [](World& w, Td td) { return Num(rv_OdbcFindFirstRecId(w.db, td, 3, Unterminated("Meier").get(), 5)); }),
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
      OnTable("rv_OdbcFindLastRecId", "null value", "0",
              [](World& w, Td td) { return Num(rv_OdbcFindLastRecId(w.db, td, 0, nullptr, 5)); }),
      OnTable("rv_OdbcFindLastRecId", "length -1", "0",
              [](World& w, Td td) { return Num(rv_OdbcFindLastRecId(w.db, td, 0, Unterminated("M").get(), -1)); }),
      OnTable("rv_OdbcPrevNext50", "null page", "0",
              [](World& w, Td td) { return Num(rv_OdbcPrevNext50(w.db, td, 1, nullptr, 0, 0)); }),
      OnTable("rv_OdbcPrevNext50", "key -1", "0 page untouched",
              [](World& w, Td td) {
                Buffer page(200);
                return Page(rv_OdbcPrevNext50(w.db, td, 1, reinterpret_cast<int32_t*>(page.data()), 0, -1), page);
              }),
      OnTable("rv_OdbcPrevNext50", "key KeyCnt", "0 page untouched",
              [](World& w, Td td) {
                Buffer page(200);
                return Page(rv_OdbcPrevNext50(w.db, td, 1, reinterpret_cast<int32_t*>(page.data()), 0, 3), page);
              }),
      OnTable("rv_OdbcPrevNext50", "RecId -1", "0 page untouched",
              [](World& w, Td td) {
                Buffer page(200);
                return Page(rv_OdbcPrevNext50(w.db, td, -1, reinterpret_cast<int32_t*>(page.data()), 0, 0), page);
              }),
      OnTable("rv_OdbcPrevNext50", "prior -1 (non-zero: the ones before)", "1 page written",
              [](World& w, Td td) {
                Buffer page(200);
                return Page(rv_OdbcPrevNext50(w.db, td, 1, reinterpret_cast<int32_t*>(page.data()), -1, 0), page);
              }),
      {"rv_OdbcQfwSearch", "every argument -1 (does nothing)", "0",
       [](World&) { return Num(rv_OdbcQfwSearch(-1, -1, -1, -1, -1)); }},
      {"rv_DropTable", "every argument -1 (does nothing)", "0", [](World&) { return Num(rv_DropTable(-1, -1, -1)); }},
      {"rv_OdbcPrepareAll", "null TableDef", "void",
       [](World& w) {
         rv_OdbcPrepareAll(nullptr, w.db);
         return std::string("void");
       }},
      {"rv_OdbcUnprepareAll", "null TableDef", "void",
       [](World&) {
         rv_OdbcUnprepareAll(nullptr);
         return std::string("void");
       }},
      OnTable("rv_OdbcFillSqlRec", "null record", "0",
              [](World&, Td td) { return Num(rv_OdbcFillSqlRec(td, nullptr)); }),
      OnTable("rv_OdbcScanSqlRec", "null record", "0",
              [](World&, Td td) { return Num(rv_OdbcScanSqlRec(td, nullptr)); }),
      OnTable("rv_OdbcGetRecordEx", "null record, no set", "0",
              [](World& w, Td td) { return Num(rv_OdbcGetRecordEx(w.db, td, 1, nullptr)); }),
      OnTable("rv_OdbcAppendRecordEx", "null record", "0",
              [](World& w, Td td) { return Num(rv_OdbcAppendRecordEx(w.db, td, nullptr)); }),
      OnTable("rv_OdbcUpdateRecordEx", "null record", "0",
              [](World& w, Td td) { return Num(rv_OdbcUpdateRecordEx(w.db, td, 1, nullptr)); }),
      OnTable("rv_OdbcFirstRecIdEx", "key KeyCnt", "0",
              [](World& w, Td td) { return Num(rv_OdbcFirstRecIdEx(w.db, td, 3)); }),
      OnTable("rv_OdbcLastRecIdEx", "key 16", "0",
              [](World& w, Td td) { return Num(rv_OdbcLastRecIdEx(w.db, td, 16)); }),
      OnTable("rv_OdbcNextRecIdEx", "RecId -1", "0",
              [](World& w, Td td) { return Num(rv_OdbcNextRecIdEx(w.db, td, 0, -1)); }),
      OnTable("rv_OdbcPriorRecIdEx", "key 200", "0",
              [](World& w, Td td) { return Num(rv_OdbcPriorRecIdEx(w.db, td, 200, 1)); }),
      OnTable("rv_OdbcFindFirstRecIdEx", "null value", "0",
              [](World& w, Td td) { return Num(rv_OdbcFindFirstRecIdEx(w.db, td, 0, nullptr, 5)); }),
      OnTable("rv_OdbcFindLastRecIdEx", "length 0", "0",
              [](World& w, Td td) { return Num(rv_OdbcFindLastRecIdEx(w.db, td, 0, Unterminated("M").get(), 0)); }),
      OnTable("rv_OdbcDeleteRecordEx", "RecId -1 (1: no such record, as documented)", "1",
              [](World& w, Td td) { return Num(rv_OdbcDeleteRecordEx(w.db, td, -1)); }),
      // The same through a prepared set.
      OnPrepared("rv_OdbcGetRecordEx", "null record (values stay in the set, as documented)", "1",
                 [](World& w, Td td) { return Num(rv_OdbcGetRecordEx(w.db, td, 1, nullptr)); }),
      OnPrepared(
          "rv_OdbcGetRecordEx", "RecId -1", "0 untouched",
          [](World& w, Td td) {
            Record rec(w);
            return Join({Num(rv_OdbcGetRecordEx(w.db, td, -1, rec.data())), (rec.Changed(w) ? " read" : " untouched")});
          }),
      OnPrepared("rv_OdbcFindFirstRecIdEx", "null value", "0",
                 [](World& w, Td td) { return Num(rv_OdbcFindFirstRecIdEx(w.db, td, 0, nullptr, 5)); }),
      OnPrepared(
          "rv_OdbcFindFirstRecIdEx", "length -1", "0",
          [](World& w, Td td) { return Num(rv_OdbcFindFirstRecIdEx(w.db, td, 0, Unterminated("M").get(), -1)); }),
      OnPrepared("rv_OdbcFindLastRecIdEx", "length 129", "0",
                 [](World& w, Td td) {
                   return Num(rv_OdbcFindLastRecIdEx(w.db, td, 0, Unterminated(std::string(129, 'M')).get(), 129));
                 }),
      OnPrepared("rv_OdbcFindLastRecIdEx", "key 16", "0",
                 [](World& w, Td td) { return Num(rv_OdbcFindLastRecIdEx(w.db, td, 16, Unterminated("M").get(), 1)); }),
      OnPrepared("rv_OdbcFirstRecIdEx", "key 16", "0",
                 [](World& w, Td td) { return Num(rv_OdbcFirstRecIdEx(w.db, td, 16)); }),
      OnPrepared("rv_OdbcNextRecIdEx", "key KeyCnt", "0",
                 [](World& w, Td td) { return Num(rv_OdbcNextRecIdEx(w.db, td, 3, 1)); }),
      OnPrepared("rv_OdbcPriorRecIdEx", "RecId -1", "0",
                 [](World& w, Td td) { return Num(rv_OdbcPriorRecIdEx(w.db, td, 0, -1)); }),
      OnPrepared("rv_OdbcLastRecIdEx", "key -1 (RecId order, as documented)", "3",
                 [](World& w, Td td) { return Num(rv_OdbcLastRecIdEx(w.db, td, -1)); }),
      OnPrepared("rv_OdbcUpdateRecordEx", "null record", "0",
                 [](World& w, Td td) { return Num(rv_OdbcUpdateRecordEx(w.db, td, 1, nullptr)); }),
      OnPrepared("rv_OdbcAppendRecordEx", "null record", "0",
                 [](World& w, Td td) { return Num(rv_OdbcAppendRecordEx(w.db, td, nullptr)); }),
      OnPrepared("rv_OdbcDeleteRecordEx", "RecId -1 (1: no such record, as documented)", "1",
                 [](World& w, Td td) { return Num(rv_OdbcDeleteRecordEx(w.db, td, -1)); }),
      OnPrepared("rv_OdbcFillSqlRec", "null record", "0",
                 [](World&, Td td) { return Num(rv_OdbcFillSqlRec(td, nullptr)); }),
      OnPrepared("rv_OdbcScanSqlRec", "null record", "0",
                 [](World&, Td td) { return Num(rv_OdbcScanSqlRec(td, nullptr)); }),
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
}

Rows Scripts() {
  return {
      {"rv_CallStatement", "null script", "0 untouched",
       [](World& w) {
         Buffer errors(100);
         return Join({Num(rv_CallStatement(w.db, nullptr, errors.data(), 100)),
                      (errors.Untouched() ? " untouched" : " written")});
       }},
      {"rv_CallStatement", "null errors", "0",
       [](World& w) { return Num(rv_CallStatement(w.db, "SELEKT", nullptr, 100)); }},
      {"rv_CallStatement", "length 0", "0 untouched",
       [](World& w) {
         Buffer errors(1);
         return Join({Num(rv_CallStatement(w.db, "SELEKT", errors.data(), 0)),
                      (errors.Untouched() ? " untouched" : " written")});
       }},
      {"rv_CallStatement", "length -1", "0 untouched",
       [](World& w) {
         Buffer errors(1);
         return Join({Num(rv_CallStatement(w.db, "SELEKT", errors.data(), -1)),
                      (errors.Untouched() ? " untouched" : " written")});
       }},
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
      {"rv_CallSqlFile", "length 0", "0 untouched",
       [](World& w) {
         Buffer errors(1);
         const int32_t ran = rv_CallSqlFile(w.db, nullptr, w.temp.File("fehlt.sql").c_str(), errors.data(), 0);
         return Join({Num(ran), (errors.Untouched() ? " untouched" : " written")});
       }},
      {"rv_CallSqlFile", "length -1", "0 untouched",
       [](World& w) {
         Buffer errors(1);
         const int32_t ran = rv_CallSqlFile(w.db, nullptr, w.temp.File("fehlt.sql").c_str(), errors.data(), -1);
         return Join({Num(ran), (errors.Untouched() ? " untouched" : " written")});
       }},
      {"rv_CallSqlFile", "missing file, length 5", "0 'file'",
       [](World& w) {
         Buffer errors(5);
         const int32_t ran = rv_CallSqlFile(w.db, nullptr, w.temp.File("fehlt.sql").c_str(), errors.data(), 5);
         return Join({Num(ran), " ", Text(errors.data())});
       }},
  };
}

}  // namespace

Rows RecordRows() {
  Rows rows;
  const std::pair<const char*, std::function<Dbc(World&)>> handles[] = {
      {"connection null", [](World&) { return Dbc{nullptr}; }},
      {"connection -1", [](World&) { return MinusOne(); }},
  };
  for (const ConnectionCall& c : ConnectionCalls()) {
    const auto call = c.call;
    for (const auto& [variant, handle] : handles) {
      const auto make = handle;
      rows.push_back({c.export_name, variant, c.failure, [call, make](World& w) {
                        World::TableDefPtr td = w.Valid();
                        return call(w, make(w), td.get());
                      }});
    }
    for (const char* prepared : kPreparedToo) {
      if (std::string(prepared) != c.export_name) continue;
      for (const auto& [variant, handle] : handles) {
        const auto make = handle;
        rows.push_back(
            {c.export_name, std::string(variant) + " (set prepared on another)", c.failure, [call, make](World& w) {
               World::TableDefPtr td = w.Valid();
               td->ExLevel = 2;
               rv_OdbcPrepareAll(td.get(), w.db);
               if (rv_GetSqlRecPtr(td.get()) == nullptr) return std::string("no set prepared");
               return call(w, make(w), td.get());
             }});
      }
    }
  }
  for (Rows part : {NumbersAndPointers(), Scripts()}) rows.insert(rows.end(), part.begin(), part.end());
  return rows;
}

}  // namespace hostile
