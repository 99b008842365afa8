#include "tools/gs232sim/SystemCall.h"

#include <cerrno>
#include <system_error>

void ThrowSystemError(const std::string& what) {
  throw std::system_error(errno, std::generic_category(), what);
}

int CheckSystemCall(int result, const std::string& what) {
  if (result == -1) ThrowSystemError(what);
  return result;
}

bool WouldBlockOrInterrupted(int error) {
  return error == EAGAIN || error == EWOULDBLOCK || error == EINTR;
}
