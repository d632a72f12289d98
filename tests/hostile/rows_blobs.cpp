// Blobs: connections that are none, blob ids that name no blob (0 and
// negative), null ids, names and blocks, and global memory handles that are
// none (-1, freed).
#include <filesystem>

#include "hostile/hostile.h"

namespace hostile {
namespace {

using Dbc = LERV32_HDBC;

// A file of three bytes beside the database.
std::string SourceFile(World& w) {
  const std::string path = w.temp.File("quelle.bin");
  testenv::WriteText(path, "abc");
  return path;
}

HGLOBAL FreedBlock() {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
  GlobalFree(block);
  return block;
}

// "<code> id <id>" of an insert; a blob it made after all is removed again.
std::string Inserted(World& w, int32_t code, int32_t id) {
  if (id > 0) rv_OdbcDeleteBlob(w.db, id);
  return Join({Num(code), " id ", Num(id)});
}

// "<code> no file" or "<code> file" of a select to a file.
std::string Selected(int32_t code, const std::string& path) {
  const bool made = std::filesystem::exists(path);
  std::filesystem::remove(path);
  return Join({Num(code), (made ? " file" : " no file")});
}

// What call gives on a fixed block of four zero bytes, which it frees after.
int32_t WithBlock(const std::function<int32_t(HGLOBAL)>& call) {
  HGLOBAL block = GlobalAlloc(GPTR, 4);
  const int32_t code = call(block);
  GlobalFree(block);
  return code;
}

std::string ToBlock(int32_t code, HGLOBAL block) {
  const std::string result = Num(code) + " " + Ptr(block);
  GlobalFree(block);
  return result;
}

struct BlobCall {
  const char* export_name;
  std::string failure;
  std::function<std::string(World&, Dbc)> call;
};

std::vector<BlobCall> BlobCalls() {
  return {
      {"rv_OdbcInsertBlobFromFile", "3 id 0",
       [](World& w, Dbc c) {
         int32_t id = 99;
         const int32_t code = rv_OdbcInsertBlobFromFile(c, &id, SourceFile(w).c_str());
         return Inserted(w, code, id);
       }},
      {"rv_OdbcInsertBlobFromHGlobal", "3 id 0",
       [](World& w, Dbc c) {
         int32_t id = 99;
         const int32_t code = WithBlock([&](HGLOBAL block) { return rv_OdbcInsertBlobFromHGlobal(c, &id, block); });
         return Inserted(w, code, id);
       }},
      {"rv_OdbcUpdateBlobFromFile", "2",
       [](World& w, Dbc c) { return Num(rv_OdbcUpdateBlobFromFile(c, w.blob_id, SourceFile(w).c_str())); }},
      {"rv_OdbcUpdateBlobFromHGlobal", "2",
       [](World& w, Dbc c) {
         return Num(WithBlock([&](HGLOBAL block) { return rv_OdbcUpdateBlobFromHGlobal(c, w.blob_id, block); }));
       }},
      {"rv_OdbcSelectBlobToFile", "3 no file",
       [](World& w, Dbc c) {
         const std::string path = w.temp.File("ziel.bin");
         return Selected(rv_OdbcSelectBlobToFile(c, w.blob_id, path.c_str()), path);
       }},
      {"rv_OdbcSelectBlobToHGlobal", "3 null",
       [](World& w, Dbc c) {
         HGLOBAL block = MinusOne();
         const int32_t code = rv_OdbcSelectBlobToHGlobal(c, w.blob_id, &block);
         return ToBlock(code, block);
       }},
      {"rv_OdbcSizeOfBlob", "-1", [](World& w, Dbc c) { return Num(rv_OdbcSizeOfBlob(c, w.blob_id)); }},
      {"rv_OdbcDeleteBlob", "-2", [](World& w, Dbc c) { return Num(rv_OdbcDeleteBlob(c, w.blob_id)); }},
      {"rv_CreateBlobHandler", "0 null",
       [](World&, Dbc c) {
         void* unknown = MinusOne();
         const int32_t made = rv_CreateBlobHandler(c, &unknown);
         return Join({Num(made), " ", Ptr(unknown)});
       }},
  };
}

Rows Arguments() {
  Rows rows = {
      {"rv_OdbcInsertBlobFromFile", "null id", "4",
       [](World& w) { return Num(rv_OdbcInsertBlobFromFile(w.db, nullptr, SourceFile(w).c_str())); }},
      {"rv_OdbcInsertBlobFromFile", "null file name", "1 id 0",
       [](World& w) {
         int32_t id = 99;
         const int32_t code = rv_OdbcInsertBlobFromFile(w.db, &id, nullptr);
         return Inserted(w, code, id);
       }},
      {"rv_OdbcInsertBlobFromHGlobal", "null id", "4",
       [](World& w) {
         return Num(WithBlock([&](HGLOBAL block) { return rv_OdbcInsertBlobFromHGlobal(w.db, nullptr, block); }));
       }},
      {"rv_OdbcUpdateBlobFromFile", "blob 0", "4",
       [](World& w) { return Num(rv_OdbcUpdateBlobFromFile(w.db, 0, SourceFile(w).c_str())); }},
      {"rv_OdbcUpdateBlobFromFile", "blob -1", "5",
       [](World& w) { return Num(rv_OdbcUpdateBlobFromFile(w.db, -1, SourceFile(w).c_str())); }},
      {"rv_OdbcUpdateBlobFromFile", "null file name", "1",
       [](World& w) { return Num(rv_OdbcUpdateBlobFromFile(w.db, w.blob_id, nullptr)); }},
      {"rv_OdbcUpdateBlobFromHGlobal", "blob -1", "5",
       [](World& w) {
         return Num(WithBlock([&](HGLOBAL block) { return rv_OdbcUpdateBlobFromHGlobal(w.db, -1, block); }));
       }},
      {"rv_OdbcSelectBlobToFile", "null file name", "6",
       [](World& w) { return Num(rv_OdbcSelectBlobToFile(w.db, w.blob_id, nullptr)); }},
      {"rv_OdbcSelectBlobToHGlobal", "blob -1", "5 null",
       [](World& w) {
         HGLOBAL block = MinusOne();
         const int32_t code = rv_OdbcSelectBlobToHGlobal(w.db, -1, &block);
         return ToBlock(code, block);
       }},
      {"rv_OdbcSelectBlobToHGlobal", "null block", "9",
       [](World& w) { return Num(rv_OdbcSelectBlobToHGlobal(w.db, w.blob_id, nullptr)); }},
      {"rv_OdbcSizeOfBlob", "blob -1 (names no blob: 0)", "0",
       [](World& w) { return Num(rv_OdbcSizeOfBlob(w.db, -1)); }},
      {"rv_OdbcSizeOfBlob", "blob 0 (no blob: 0)", "0", [](World& w) { return Num(rv_OdbcSizeOfBlob(w.db, 0)); }},
      {"rv_OdbcDeleteBlob", "blob -1 (nothing to remove)", "0 5",
       [](World& w) {
         return Join({Num(rv_OdbcDeleteBlob(w.db, -1)), " ", Num(rv_OdbcSizeOfBlob(w.db, w.blob_id))});
       }},
      {"rv_CreateBlobHandler", "null out", "0", [](World& w) { return Num(rv_CreateBlobHandler(w.db, nullptr)); }},
  };
  // Blocks that are none: refused, and the blob keeps its 5 bytes.
  const std::pair<const char*, std::function<HGLOBAL()>> blocks[] = {
      {"block -1", [] { return MinusOne(); }},
      {"block freed", FreedBlock},
  };
  for (const auto& [variant, block] : blocks) {
    const auto make = block;
    rows.push_back({"rv_OdbcInsertBlobFromHGlobal", variant, "9 id 0", [make](World& w) {
                      int32_t id = 99;
                      const int32_t code = rv_OdbcInsertBlobFromHGlobal(w.db, &id, make());
                      return Inserted(w, code, id);
                    }});
    rows.push_back({"rv_OdbcUpdateBlobFromHGlobal", variant, "9 5", [make](World& w) {
                      return Join({Num(rv_OdbcUpdateBlobFromHGlobal(w.db, w.blob_id, make())), " ",
                                   Num(rv_OdbcSizeOfBlob(w.db, w.blob_id))});
                    }});
  }
  for (int32_t blob : {-1, 0}) {
    rows.push_back({"rv_OdbcSelectBlobToFile", "blob " + Num(blob), "5 no file", [blob](World& w) {
                      const std::string path = w.temp.File("ziel.bin");
                      return Selected(rv_OdbcSelectBlobToFile(w.db, blob, path.c_str()), path);
                    }});
  }
  return rows;
}

}  // namespace

Rows BlobRows() {
  Rows rows;
  const std::pair<const char*, std::function<Dbc(World&)>> handles[] = {
      {"connection null", [](World&) { return Dbc{nullptr}; }},
      {"connection -1", [](World&) { return MinusOne(); }},
  };
  for (const BlobCall& b : BlobCalls()) {
    for (const auto& [variant, handle] : handles) {
      const auto call = b.call;
      const auto make = handle;
      rows.push_back({b.export_name, variant, b.failure, [call, make](World& w) { return call(w, make(w)); }});
    }
  }
  Rows more = Arguments();
  rows.insert(rows.end(), more.begin(), more.end());
  return rows;
}

}  // namespace hostile
