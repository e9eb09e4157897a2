#include "com/type_info.h"

#include <map>
#include <mutex>

#include "com/com_ptr.h"
#include "com/module.h"

namespace vk::com {
namespace {

struct Cache {
  std::mutex lock;
  bool loaded = false;
  ComPtr<ITypeLib> library;
  std::map<GUID, ComPtr<ITypeInfo>, bool (*)(const GUID&, const GUID&)> infos{
      [](const GUID& a, const GUID& b) { return memcmp(&a, &b, sizeof a) < 0; }};
};

Cache& TheCache() {
  static Cache cache;
  return cache;
}

ITypeLib* LoadLocked(Cache& cache) {
  if (!cache.loaded) {
    cache.loaded = true;
    LoadTypeLibEx(ModulePath().c_str(), REGKIND_NONE, cache.library.put());
  }
  return cache.library.get();
}

}  // namespace

ITypeLib* OwnTypeLib() {
  Cache& cache = TheCache();
  std::lock_guard guard(cache.lock);
  return LoadLocked(cache);
}

ITypeInfo* TypeInfoOf(REFIID iid) {
  Cache& cache = TheCache();
  std::lock_guard guard(cache.lock);
  auto found = cache.infos.find(iid);
  if (found != cache.infos.end()) return found->second.get();
  ITypeLib* library = LoadLocked(cache);
  ComPtr<ITypeInfo> info;
  if (library) library->GetTypeInfoOfGuid(iid, info.put());
  ITypeInfo* raw = info.get();
  if (raw) cache.infos.emplace(iid, std::move(info));
  return raw;
}

}  // namespace vk::com
