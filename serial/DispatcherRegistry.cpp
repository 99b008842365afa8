#include "serial/DispatcherRegistry.h"

#include <vector>

namespace {

std::vector<TSioBaseDispatcher*>& entries() {
  static std::vector<TSioBaseDispatcher*> list;
  return list;
}

}  // namespace

std::recursive_mutex& RegistryLock() {
  static std::recursive_mutex lock;
  return lock;
}

int32_t DispatcherRegistry::Add(TSioBaseDispatcher* dispatcher) {
  const std::lock_guard<std::recursive_mutex> lock(RegistryLock());
  std::vector<TSioBaseDispatcher*>& list = entries();
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] == nullptr) {
      list[i] = dispatcher;
      return static_cast<int32_t>(i);
    }
  }
  list.push_back(dispatcher);
  return static_cast<int32_t>(list.size() - 1);
}

void DispatcherRegistry::Remove(int32_t handle) {
  const std::lock_guard<std::recursive_mutex> lock(RegistryLock());
  std::vector<TSioBaseDispatcher*>& list = entries();
  if (handle < 0 || static_cast<size_t>(handle) >= list.size()) return;
  list[static_cast<size_t>(handle)] = nullptr;
  while (!list.empty() && list.back() == nullptr) list.pop_back();
}

TSioBaseDispatcher* DispatcherRegistry::Find(int32_t handle) {
  const std::lock_guard<std::recursive_mutex> lock(RegistryLock());
  const std::vector<TSioBaseDispatcher*>& list = entries();
  if (handle < 0 || static_cast<size_t>(handle) >= list.size()) return nullptr;
  return list[static_cast<size_t>(handle)];
}

int32_t DispatcherRegistry::Size() {
  const std::lock_guard<std::recursive_mutex> lock(RegistryLock());
  return static_cast<int32_t>(entries().size());
}
