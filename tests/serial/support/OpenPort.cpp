#include "tests/serial/support/OpenPort.h"

#include "serial/Dcb.h"

int32_t OpenLikeComponent(TSioBaseDispatcher& port, const std::shared_ptr<TestGuiLoop>& gui,
                          uint32_t availThreshold, const std::string& name) {
  constexpr uint32_t kDtrAndRts = 0x03;
  const int32_t result = port.InitDevice(name, 9600, kNoParity, 8, 1, 4096, 4096, kDtrAndRts);
  if (result != 0) return result;
  port.SetAvailThreshold(availThreshold);
  port.AddNotifyWindow(gui);
  port.UpdateHandlerService(1);
  return 0;
}
