#include "serial/CheckError.h"

#include "serial/ErrorText.h"
#include "serial/SioExceptions.h"

namespace {

// Raises the class listed for code; returns when no class is listed.
void raiseListedClass(int32_t code) {
  switch (code) {
#define AZIMARA_SIO_RAISE_LEAF(Code, Name, Group) \
  case Code:                                       \
    throw Name(code);
    AZIMARA_SIO_LEAF_CLASSES(AZIMARA_SIO_RAISE_LEAF)
#undef AZIMARA_SIO_RAISE_LEAF
    case -6006:
    case -6008:
    case -6009:
      throw EProtocol(code);
    case -7003:
    case -7006:
    case -7012:
      throw EInternal(code);
    default:
      return;
  }
}

}  // namespace

int32_t CheckError(bool componentLoading, int32_t code) {
  if (code >= 0 || componentLoading) return code;
  if (code >= -162 && code <= -2) {
    std::string text = ErrorText(code);
    if (code == -8) throw EOutOfMemory(std::move(text));
    throw EInOutError(std::move(text), -code);
  }
  raiseListedClass(code);
  throw ESioException(std::string("Serial I/O exception"));
}
