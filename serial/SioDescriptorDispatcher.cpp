#include "serial/SioDescriptorDispatcher.h"

void TSioDescriptorDispatcher::KillThreads() {
  SetKillFlag();
  serialEvent_.Set();
  statusEvent_.Set();
  writeWakeEvent_.Set();
}
