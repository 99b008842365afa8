#pragma once
// The event types of the serial port component. Every event passes the
// component that raised it as CP (Sender for the plain notify event).

#include <cstdint>
#include <functional>

class TSioCustomComPort;

using TTriggerEvent =
    std::function<void(TSioCustomComPort* CP, uint16_t Msg, uint16_t TriggerHandle, uint16_t Data)>;
using TTriggerAvailEvent = std::function<void(TSioCustomComPort* CP, uint16_t Count)>;
using TTriggerDataEvent = std::function<void(TSioCustomComPort* CP, uint16_t TriggerHandle)>;
using TTriggerStatusEvent = std::function<void(TSioCustomComPort* CP, uint16_t TriggerHandle)>;
using TTriggerTimerEvent = std::function<void(TSioCustomComPort* CP, uint16_t TriggerHandle)>;
using TTriggerLineErrorEvent =
    std::function<void(TSioCustomComPort* CP, uint16_t Error, bool LineBreak)>;
using TNotifyEvent = std::function<void(TSioCustomComPort* Sender)>;
