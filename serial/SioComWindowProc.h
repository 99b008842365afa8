#pragma once
// The window procedure of a port's notify window ("sioComWindow"): runs one
// notice of a dispatcher on the GUI thread. A notify target calls it for
// every notice it receives and does nothing else with it.
//
// TRG_AVAIL, TRG_DATA, TRG_TIMER, TRG_STATUS, PORT_CLOSING and PORT_LOST are handled,
// under the RegistryLock for the whole handling: the dispatcher named by the
// high 16 bits of lParam is looked up, and its port (the component that owns
// it, while it is that port's dispatcher) raises OnTrigger and then the
// event of the notice. PORT_CLOSING completes a close left pending by a
// close from inside a handler, or posts itself again while the port threads
// still run; PORT_LOST closes a port whose device went away and raises
// OnPortLost, without OnTrigger. An exception from a handler goes to the exception display
// (ShowException) and no further. Other messages are ignored.

#include <cstdint>

// Always 0.
intptr_t SioComWindowProc(uint32_t Msg, uintptr_t wParam, intptr_t lParam);
