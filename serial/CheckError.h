#pragma once
// Turns a result code of the serial layer into its exception.

#include <cstdint>

// Returns code when it is 0 or positive, and also while the component on
// whose behalf it was produced is being loaded. Otherwise raises:
// -8 EOutOfMemory; -2 to -162 EInOutError (ErrorText, error number);
// a listed code its class, constructed by code; any other code
// ESioException("Serial I/O exception") with ErrorCode 0.
int32_t CheckError(bool componentLoading, int32_t code);
