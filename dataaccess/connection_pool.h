#pragma once
// The pool the component is named for: open databases shared by every data-access
// object of the process, so an object that lives for one call (a log entry, a
// loader) finds its databases open instead of opening them again.
//  - A connection serves one thread (the objects are apartment-threaded), and one
//    database file: the pool is keyed by the path a key resolves to and the thread,
//    so a key the registry points elsewhere gets the other file.
//  - Calls on a connection never overlap: each call ends before its method returns,
//    holds no statement open (rows are read whole) and no transaction.
//  - Connections stay open while any data-access object of the process lives, and
//    close with the last one, so no file stays held once nobody uses the component.
//  - Each call starts its own read, so a pooled connection sees other processes'
//    writes as a new one would; its busy timeout is set at every call, and it opens
//    the path again when another file has taken its name (sqlite_db.h).
#include <memory>
#include <string>

#include "dataaccess/sqlite_db.h"

namespace vk::data {

class ConnectionPool {
 public:
  // The pool's hold for one data-access object: the connections stay open while any
  // such hold lives.
  class Hold {
   public:
    Hold();
    ~Hold();
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
  };

  // This thread's connection to the database at the path, opened at its first use.
  // Throws DataError when it cannot be opened (nothing is kept then).
  static std::shared_ptr<Database> Connection(const std::wstring& path);
};

}  // namespace vk::data
