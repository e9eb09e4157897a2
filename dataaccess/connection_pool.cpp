#include "dataaccess/connection_pool.h"

#include <windows.h>

#include <map>
#include <mutex>
#include <utility>

namespace vk::data {

namespace {

struct Pool {
  std::mutex lock;
  long holds = 0;
  std::map<std::pair<DWORD, std::wstring>, std::shared_ptr<Database>> connections;
};

Pool& ThePool() {
  static Pool pool;
  return pool;
}

}  // namespace

ConnectionPool::Hold::Hold() {
  Pool& pool = ThePool();
  std::lock_guard<std::mutex> guard(pool.lock);
  ++pool.holds;
}

ConnectionPool::Hold::~Hold() {
  Pool& pool = ThePool();
  decltype(pool.connections) closing;  // closed after the lock is let go
  std::lock_guard<std::mutex> guard(pool.lock);
  if (--pool.holds == 0) closing.swap(pool.connections);
}

std::shared_ptr<Database> ConnectionPool::Connection(const std::wstring& path) {
  Pool& pool = ThePool();
  const auto key = std::make_pair(GetCurrentThreadId(), path);
  {
    std::lock_guard<std::mutex> guard(pool.lock);
    if (auto found = pool.connections.find(key); found != pool.connections.end()) return found->second;
  }
  // Opened outside the lock; only this thread asks for this thread's connections.
  std::shared_ptr<Database> db = Database::Open(path);
  std::lock_guard<std::mutex> guard(pool.lock);
  pool.connections.emplace(key, db);
  return db;
}

}  // namespace vk::data
