#include "app/PictureErrors.h"

#include <cstring>

namespace {

std::string systemReason(int errorNumber) {
  char buffer[256];
  return strerror_r(errorNumber, buffer, sizeof buffer);
}

}  // namespace

EFileOpenError::EFileOpenError(const std::string& fullPath, int errorNumber)
    : std::runtime_error("Datei " + fullPath + " kann nicht geöffnet werden. " +
                         systemReason(errorNumber)) {}
