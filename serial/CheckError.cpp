#include "serial/CheckError.h"

#include "serial/ErrorText.h"
#include "serial/ResultCodes.h"
#include "serial/SioExceptions.h"

namespace {

// Raises the class listed for code; returns when no class is listed.
void raiseListedClass(int32_t code) {
  switch (code) {
#define AZIMARA_SIO_RAISE_LEAF(Code, Name, Group) \
  case Code:                                      \
    throw Name(code);
    AZIMARA_SIO_LEAF_CLASSES(AZIMARA_SIO_RAISE_LEAF)
#undef AZIMARA_SIO_RAISE_LEAF
#define AZIMARA_SIO_RAISE_GROUP(Code, Name) \
  case Code:                                \
    throw Name(code);
    AZIMARA_SIO_GROUP_CODES(AZIMARA_SIO_RAISE_GROUP)
#undef AZIMARA_SIO_RAISE_GROUP
    default:
      return;
  }
}

}  // namespace

int32_t CheckError(bool componentLoading, int32_t code) {
  if (code >= 0 || componentLoading) return code;
  if (code >= kLastSystemError && code <= kFirstSystemError) {
    std::string text = ErrorText(code);
    if (code == kOutOfMemory) throw EOutOfMemory(std::move(text));
    throw EInOutError(std::move(text), -code);
  }
  raiseListedClass(code);
  throw ESioException(std::string("Serial I/O exception"));
}
