#include "tests/serial/support/OpenPort.h"

#include "serial/Dcb.h"

int32_t OpenLikeComponent(TSioBaseDispatcher& port, const std::shared_ptr<TestGuiLoop>& gui,
                          uint32_t availThreshold, const std::string& name) {
  constexpr uint32_t kDtrAndRts = 0x03;
  const int32_t result = port.InitDevice(name, 9600, kNoParity, 8, 1, 4096, 4096, kDtrAndRts);
  if (result != 0) return result;
  // In the component's order: the threshold enables notices, and bytes that
  // came in before it must find the handler and the window already there.
  port.UpdateHandlerService(1);
  port.AddNotifyWindow(gui);
  port.SetAvailThreshold(availThreshold);
  return 0;
}
