#pragma once
// The dispatcher of a port the telephony layer has already opened: it is
// given the device's handle instead of opening one by name.

#include <cstdint>

#include "serial/SioWin32Dispatcher.h"

class TSioTAPI32Dispatcher : public TSioWin32Dispatcher {
 public:
  TSioTAPI32Dispatcher(TSioBaseComponent* owner, intptr_t deviceHandle);

  // The given handle when it is nonzero; else -2007 (device not open) with
  // SetLastError(2007). The name and sizes are not used.
  intptr_t OpenDevice(const char* name, int32_t inSize, int32_t outSize) override;

 private:
  const intptr_t givenHandle_;
};
