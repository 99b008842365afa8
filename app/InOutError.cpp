#include "app/InOutError.h"

#include "app/SystemFiles.h"

void RaiseInOutError(int errorNumber, const std::string& path) {
  throw EInOutError("E/A-Fehler " + std::to_string(errorNumber) + " (" + path + ": " +
                        ErrnoReason(errorNumber) + ")",
                    errorNumber);
}
