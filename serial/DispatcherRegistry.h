#pragma once
// The process-wide list of dispatchers. A dispatcher's registry handle is its
// index; notices carry it so the GUI side can find the dispatcher again.

#include <cstdint>
#include <mutex>

class TSioBaseDispatcher;

// Guards the registry. Dispatchers hold it while they enter or leave; the
// GUI side holds it for the whole handling of a notice, so a dispatcher
// cannot leave the registry under a running handler. Recursive.
std::recursive_mutex& RegistryLock();

class DispatcherRegistry {
 public:
  // Puts the dispatcher into the first empty entry, or appends it; returns
  // the entry's index.
  static int32_t Add(TSioBaseDispatcher* dispatcher);

  // Empties the entry, then drops empty entries from the end.
  static void Remove(int32_t handle);

  // The dispatcher of the handle; none for a handle out of range or an empty
  // entry. Hold RegistryLock while using the result.
  static TSioBaseDispatcher* Find(int32_t handle);

  // Entries, empty ones included.
  static int32_t Size();
};
