#include "serial/SioDescriptorDispatcher.h"

#include <sys/ioctl.h>

void TSioDescriptorDispatcher::KillThreads() {
  SetKillFlag();
  serialEvent_.Set();
  statusEvent_.Set();
  writeWakeEvent_.Set();
}

bool TSioDescriptorDispatcher::TakeSendingBlock(std::vector<uint8_t>& block) {
  const std::lock_guard<std::recursive_mutex> lock(OutputLock);
  if (!TakeOutputBlock(block)) return false;
  sending_ = block.size();
  return true;
}

void TSioDescriptorDispatcher::SendingLeft(size_t count) {
  const std::lock_guard<std::recursive_mutex> lock(OutputLock);
  sending_ = count;
}

uint32_t TSioDescriptorDispatcher::UnsentOutputCount() {
  size_t held;
  {
    const std::lock_guard<std::recursive_mutex> lock(OutputLock);
    held = OutputRingPendingCount() + sending_;
  }
  int queued = 0;
  if (ioctl(Device(), TIOCOUTQ, &queued) != 0 || queued < 0) queued = 0;
  return static_cast<uint32_t>(held + static_cast<size_t>(queued));
}
