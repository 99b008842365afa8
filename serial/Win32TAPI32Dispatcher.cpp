#include "serial/Win32TAPI32Dispatcher.h"

#include "serial/LastError.h"

namespace {
constexpr int32_t kCommNotOpen = 2007;
}  // namespace

TSioTAPI32Dispatcher::TSioTAPI32Dispatcher(TSioBaseComponent* owner, intptr_t deviceHandle)
    : TSioWin32Dispatcher(owner), givenHandle_(deviceHandle) {}

intptr_t TSioTAPI32Dispatcher::OpenDevice(const char*, int32_t, int32_t) {
  if (givenHandle_ == 0) {
    SetLastError(kCommNotOpen);
    SetSioLastError(kCommNotOpen);
    return -kCommNotOpen;
  }
  SetDeviceHandle(givenHandle_);
  return givenHandle_;
}
