#include "serial/ErrnoMapping.h"

#include <cerrno>

namespace {

constexpr int32_t kNoSuchPort = 2;
constexpr int32_t kPortInUse = 5;

}  // namespace

int32_t SioErrorOfErrno(int error, ErrnoContext context) {
  // Same remedy as EACCES; its number (1) would otherwise read as a generic
  // failure without the system's text.
  if (error == EPERM) return EACCES;
  // A device that is open exists and is ours: what it refuses is told as it
  // was said.
  if (context == ErrnoContext::Open) return error;
  switch (error) {
    case ENOENT:
    case ENXIO:
    case ENODEV:
    case ENOTTY:
    case EIO:
      return kNoSuchPort;
    case EBUSY:
    case EWOULDBLOCK:
      return kPortInUse;
    default:
      return error;
  }
}
