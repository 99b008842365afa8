#include "serial/SioComWindowProc.h"

#include <mutex>
#include <optional>

#include "serial/DispatcherRegistry.h"
#include "serial/ExceptionDisplay.h"
#include "serial/NoticeReading.h"
#include "serial/SioCustomComPort.h"
#include "serial/SioMessages.h"

namespace {

bool handled(uint32_t msg) {
  return msg == TRG_AVAIL || msg == TRG_DATA || msg == TRG_TIMER || msg == TRG_STATUS ||
         msg == PORT_CLOSING || msg == PORT_LOST;
}

}  // namespace

intptr_t SioComWindowProc(uint32_t Msg, uintptr_t wParam, intptr_t lParam) {
  if (!handled(Msg)) return 0;
  // Held while the handlers run: the dispatcher cannot leave the registry
  // under them.
  const std::lock_guard<std::recursive_mutex> registry(RegistryLock());
  TSioBaseDispatcher* dispatcher = DispatcherRegistry::Find(NoticeHandle(lParam));
  if (dispatcher == nullptr) return 0;
  auto* port = dynamic_cast<TSioCustomComPort*>(dispatcher->Owner());
  if (port == nullptr || !port->holds(*dispatcher)) return 0;
  try {
    // This thread reads a data notice's bytes; done before an exception is
    // shown, so the delivery is complete by then.
    std::optional<NoticeReading> reading;
    if (Msg == TRG_AVAIL || Msg == TRG_DATA) reading.emplace(*dispatcher);
    port->raiseNotice(*dispatcher, Msg, static_cast<uint16_t>(wParam & 0xFFFF), lParam);
  } catch (...) {
    ShowCurrentException();
  }
  return 0;
}
