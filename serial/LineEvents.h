#pragma once
// The line events (EV_ bits of CommCodes) that a change of the modem lines
// or new line errors stand for, as a status thread reports them.

#include <cstdint>

// The events of the modem lines going from before to now (kModem... bits):
// a change of CTS, DSR or carrier, and a ring that began.
uint32_t ModemLineEvents(uint8_t before, uint8_t now);

// The events of line error bits (kLineError...): break, and any other error.
uint32_t LineErrorEvents(uint32_t errors);
