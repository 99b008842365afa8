#pragma once
// A serial line's settings between the Win32-layout DCB the dispatcher keeps
// and the kernel's terminal settings (struct termios2, which carries any
// rate). A written line is always raw: no echo, no line editing, no signals,
// no output processing, modem control lines ignored, a read satisfied by one
// byte. The DCB's binary flag reads back set only while the line is raw, so
// the first configuration of a device in another mode writes it.
//
// The terminal settings hold rate, byte size, parity and parity checking,
// stop bits, CTS/RTS flow and XON/XOFF flow with their characters. They
// cannot hold the DTR line's control, continuing after XOFF, null stripping,
// the flow thresholds and the error, end and event characters: those come
// back from the DCB last written.
//
// What Linux cannot carry out at all is refused rather than kept as a wish:
// a DTR handshake, DSR flow, DSR sensitivity, and receive-side XON/XOFF at
// limits of its own (the kernel sends XOFF and XON at its own fill levels;
// limits of 0 leave them to it).
//
// Stop bits: the kernel knows one or "more" (CSTOPB), which a UART sends as
// one and a half with 5 data bits and as two otherwise. So one and a half
// and two both become CSTOPB, and CSTOPB reads back as one and a half with 5
// data bits and as two with more.
//
// Uses the kernel's own terminal header: do not include <termios.h> in the
// same file.

#include <asm/termbits.h>

#include <cstdint>

#include "serial/Dcb.h"

// Puts dcb's settings into line, raw, keeping the bits the DCB has no say in
// (hang-up on close, for one). False, with line untouched, when the DCB
// asks for what no terminal can do: rate 0 (which would hang up the line),
// a byte size outside 5 to 8, an unknown parity or stop-bit code, or one of
// the settings Linux cannot carry out (above).
bool DcbToTermios(const Dcb& dcb, termios2& line);

// The DCB of line; the fields the terminal does not hold are taken from
// kept. CTS/RTS flow reads back as kept had it while the terminal still has
// it on; turned on from elsewhere it reads as CTS flow with RTS handshake,
// turned off it leaves RTS raised.
Dcb TermiosToDcb(const termios2& line, const Dcb& kept);

// Whether the device took what was asked: the same byte size, parity and
// stop bits, and a rate within the 2 % a UART's divisor may miss by.
bool LineTaken(const Dcb& wanted, const Dcb& taken);

// The device's terminal settings: 0, or the error number.
int ReadTermios(int device, termios2& line);
// Writes them at once: 0, or the error number.
int WriteTermios(int device, const termios2& line);
// Drops the bytes the device holds, received (output false) or not yet
// sent (output true): 0, or the error number.
int FlushDeviceQueue(int device, bool output);
