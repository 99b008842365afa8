#pragma once
// Which port numbers the port-selection dialog offers.

#include <cstdint>

// Whether port portNumber exists: a probe opens it and closes it again. A
// port another program holds counts as available (it exists); 0 never does.
bool IsPortAvailable(uint32_t portNumber);
