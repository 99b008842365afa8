#include "serial/SioPosixThread.h"

#include <cerrno>

void TSioPosixThread::Fail(int32_t code) {
  if (code != 0) SetReturnValue(code);
  port_.KillThreads();
}

void TSioPosixThread::FailWithError(int error, int32_t code) { Fail(error == EBADF ? 0 : code); }
