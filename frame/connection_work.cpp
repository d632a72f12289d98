#include "frame/connection_work.h"

#include <map>

namespace lerv32 {
namespace {

std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}

std::map<SQLHDBC, std::shared_ptr<std::recursive_mutex>>& Registry() {
  static std::map<SQLHDBC, std::shared_ptr<std::recursive_mutex>> locks;
  return locks;
}

std::shared_ptr<std::recursive_mutex> LockOf(SQLHDBC dbc) {
  std::lock_guard<std::mutex> guard(RegistryMutex());
  std::shared_ptr<std::recursive_mutex>& lock = Registry()[dbc];
  if (!lock) lock = std::make_shared<std::recursive_mutex>();
  return lock;
}

}  // namespace

ConnectionWork::ConnectionWork(SQLHDBC dbc) : mutex_(LockOf(dbc)), lock_(*mutex_) {}

void ForgetConnectionWork(SQLHDBC dbc) {
  std::lock_guard<std::mutex> guard(RegistryMutex());
  Registry().erase(dbc);
}

}  // namespace lerv32
