#pragma once
// The status thread of a line that has no status to watch (a raw TCP
// server, whose far end owns the line): it sleeps with no time limit until
// the stop wakes it.

#include "serial/SioPosixThread.h"

class TIdleStatusThread : public TSioPosixThread {
 public:
  using TSioPosixThread::TSioPosixThread;

 protected:
  void Execute() override;
};
