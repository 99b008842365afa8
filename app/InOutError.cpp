#include "app/InOutError.h"

#include <cstring>

namespace {

std::string systemReason(int errorNumber) {
  char buffer[256];
  return strerror_r(errorNumber, buffer, sizeof buffer);
}

}  // namespace

void RaiseInOutError(int errorNumber, const std::string& path) {
  throw EInOutError("E/A-Fehler " + std::to_string(errorNumber) + " (" + path + ": " +
                        systemReason(errorNumber) + ")",
                    errorNumber);
}
