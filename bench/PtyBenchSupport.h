#pragma once
// What the pseudo-terminal benchmarks share: the 16 MiB stream they receive
// (64 KiB blocks of a pattern, checked by its sum), the raw slave a plain
// loop reads or writes, and the one-byte round trip driven from the master.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/serial/support/PseudoTerminal.h"

constexpr size_t kStreamBytes = 16u << 20;

// One 64 KiB block of the stream; the stream is this block again and again.
std::vector<uint8_t> StreamBlock();
// The sum of every byte of the stream made of block.
uint64_t StreamSum(const std::vector<uint8_t>& block);
// Writes the whole stream on pty's master; whether it all went.
bool FeedStream(PseudoTerminal& pty, const std::vector<uint8_t>& block);

// The slave at path opened non-blocking and made raw, as a plain loop uses it.
int OpenRawSlave(const std::string& path);

// rounds one-byte round trips: the master writes a byte and waits for it
// plus one; the microseconds of each, or false at the first wrong or missing
// answer.
bool TimeRoundTrips(PseudoTerminal& pty, int rounds, std::vector<double>& micros);
// "<what>: p50 .. us, p99 .. us, worst .. us (N rounds)" on standard output.
void PrintRoundTrips(const char* what, const std::vector<double>& micros);
