#include "serial/net/IdleStatusThread.h"

void TIdleStatusThread::Execute() {
  while (Running()) Port().StatusEvent().Wait();
}
