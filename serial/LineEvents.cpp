#include "serial/LineEvents.h"

#include "serial/CommCodes.h"

uint32_t ModemLineEvents(uint8_t before, uint8_t now) {
  const uint8_t changed = before ^ now;
  uint32_t events = 0;
  if (changed & kModemCts) events |= kEvCts;
  if (changed & kModemDsr) events |= kEvDsr;
  if (changed & kModemCarrier) events |= kEvRlsd;
  if ((changed & kModemRing) && (now & kModemRing)) events |= kEvRing;
  return events;
}

uint32_t LineErrorEvents(uint32_t errors) {
  uint32_t events = 0;
  if (errors & kLineErrorBreak) events |= kEvBreak;
  if (errors & ~kLineErrorBreak) events |= kEvErr;
  return events;
}
