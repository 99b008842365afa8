// The serial port component's side of a notice from its dispatcher: which
// events it raises, the completion of a close left to PORT_CLOSING, and the
// close of a port whose device went away.

#include "serial/SioCustomComPort.h"
#include "serial/SioMessages.h"

namespace {

// The kinds of a status trigger, in the low three bits of its handle.
constexpr uint16_t kStatusKindMask = 0x7;
constexpr uint16_t kModemStatusKind = 1;
constexpr uint16_t kLineErrorKind = 2;
constexpr uint16_t kOutbuffFreeKind = 3;
constexpr uint16_t kOutbuffUsedKind = 4;
constexpr uint16_t kOutSentKind = 5;

}  // namespace

bool TSioCustomComPort::holds(const TSioBaseDispatcher& dispatcher) const {
  return ActiveDispatcher.get() == &dispatcher;
}

void TSioCustomComPort::raiseNotice(TSioBaseDispatcher& dispatcher, uint32_t msg, uint16_t trigger,
                                    intptr_t lParam) {
  // Not a trigger: OnTrigger does not hear of it.
  if (msg == PORT_LOST) {
    portLost(dispatcher);
    return;
  }
  const auto data = static_cast<uint16_t>(static_cast<uintptr_t>(lParam) & 0xFFFF);
  DoTrigger(static_cast<uint16_t>(msg), trigger, msg == TRG_AVAIL ? trigger : data);
  switch (msg) {
    case TRG_AVAIL:
      DoTriggerAvail(trigger);
      break;
    case TRG_DATA:
      DoTriggerData(trigger);
      break;
    case TRG_TIMER:
      DoTriggerTimer(trigger);
      break;
    case TRG_STATUS:
      DoTriggerStatus(trigger);
      raiseStatusEvent(dispatcher, trigger);
      break;
    case PORT_CLOSING:
      continueClosing(dispatcher, lParam);
      break;
    default:
      break;
  }
}

void TSioCustomComPort::raiseStatusEvent(TSioBaseDispatcher& dispatcher, uint16_t trigger) {
  switch (trigger & kStatusKindMask) {
    case kModemStatusKind:
      DoTriggerModemStatus();
      break;
    case kLineErrorKind:
      // The status handler may have closed the port meanwhile.
      if (holds(dispatcher)) {
        const uint16_t error = dispatcher.TakeLineError();
        DoTriggerLineError(error, dispatcher.TakeLineBreak());
      }
      break;
    case kOutbuffFreeKind:
      DoTriggerOutbuffFree();
      break;
    case kOutbuffUsedKind:
      DoTriggerOutbuffUsed();
      break;
    case kOutSentKind:
      DoTriggerOutSent();
      break;
    default:
      break;
  }
}

void TSioCustomComPort::continueClosing(TSioBaseDispatcher& dispatcher, intptr_t lParam) {
  // Only the close this notice was posted for; the OnTrigger handler may
  // have changed things meanwhile.
  if (phase_ != ppClosing || !holds(dispatcher)) return;
  if (dispatcher.Started()) {
    NotifyWindow->PostNotice(PORT_CLOSING, 0, lParam);
    return;
  }
  completeClose();
  if (!ReopenRequested) return;
  ReopenRequested = false;
  OpenPort();
}

void TSioCustomComPort::portLost(TSioBaseDispatcher& dispatcher) {
  // Only for the dispatcher that lost its device: a notice left over from a
  // port closed and opened again meanwhile finds another one, or none.
  if (phase_ != ppOpen || !holds(dispatcher) || !dispatcher.DeviceLost()) return;
  ClosePort();
  DoPortLost();
}
