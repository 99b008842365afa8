#include "serial/LastError.h"

namespace {
thread_local int32_t lastError = 0;
}  // namespace

int32_t SioLastError() { return lastError; }

void SetSioLastError(int32_t code) { lastError = code; }
