// Tells the connections of every process on one database that the catalog
// changed, without a SQLite read per execute: a change counter in a small
// file mapped next to the database (<db>.sqlsim-shm).
//
// A connection raises the file's count of changes under way before its
// transaction first changes the catalog, and after that transaction ended
// bumps the version and lowers the count. While changes are under way (or a
// process died with one under way, or the file cannot be mapped) a check
// answers kAskSqlite: the caller compares SQLite's schema version, which
// every catalog change also moves.
#pragma once

#include <cstdint>
#include <string>

namespace sqlsim {

enum class CatalogCheck {
  kUnchanged,  // no catalog change committed since the last check
  kChanged,    // the catalog must be read again
  kAskSqlite,  // only SQLite's schema version can tell
};

class CatalogWatch {
 public:
  // Maps the file of database_path; without it every check asks SQLite.
  explicit CatalogWatch(const std::string& database_path);
  ~CatalogWatch();
  CatalogWatch(const CatalogWatch&) = delete;
  CatalogWatch& operator=(const CatalogWatch&) = delete;

  // in_transaction: the connection may read a snapshot older than the last
  // change, so a new version is left for the check after its transaction.
  CatalogCheck Check(bool in_transaction);
  // Before the first change of the catalog in a transaction.
  void BeginChange();
  // After the transaction that changed the catalog committed or rolled back;
  // changed false when it turned out to change nothing.
  void Publish(bool changed = true);
  bool mapped() const { return shared_ != nullptr; }
  // This connection raised the count of changes under way.
  bool changing() const { return changing_; }

 private:
  struct Shared;
  void Map(int fd);

  int fd_ = -1;
  Shared* shared_ = nullptr;
  uint64_t seen_version_ = 0;
  bool seen_ = false;
  bool changing_ = false;
};

}  // namespace sqlsim
