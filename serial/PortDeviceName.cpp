#include "serial/PortDeviceName.h"

std::string PortDeviceName(uint32_t portNumber) {
  return std::string(kPortDevicePrefix) + std::to_string(portNumber);
}
