#pragma once
// A pseudo-terminal pair for tests and benchmarks: the program under test
// opens the slave by its path as its serial device; the test plays the far
// end on the master.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

class PseudoTerminal {
 public:
  // Opens a master (raw, non-blocking) and unlocks its slave; fails the
  // calling test when no pseudo-terminal can be had.
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  const std::string& SlavePath() const { return slavePath_; }
  int Master() const { return master_; }

  // Writes all bytes to the master (waiting for room as needed); whether they
  // all went within the bound.
  bool Write(const std::vector<uint8_t>& bytes,
             std::chrono::milliseconds bound = std::chrono::seconds(10));
  // Reads until count bytes came or the bound passed; what came.
  std::vector<uint8_t> Read(size_t count,
                            std::chrono::milliseconds bound = std::chrono::seconds(10));
  // What the master holds now, without waiting.
  std::vector<uint8_t> ReadAvailable();
  // Closes the master: the slave side hangs up.
  void CloseMaster();

 private:
  int master_ = -1;
  std::string slavePath_;
};

// The lowest port number from first whose default device does not exist.
uint32_t AbsentPortNumber(uint32_t first);
