#pragma once
// The byte trace: a ring of the most recent bytes sent and received, each
// entry a direction letter ('R' received, 'T' transmitted) and the byte.

#include <cstdint>
#include <string>
#include <vector>

class ByteTrace {
 public:
  static constexpr uint32_t kMaxEntries = 4000000;
  static constexpr uint8_t kReceived = 'R';
  static constexpr uint8_t kTransmitted = 'T';

  // Makes an empty ring of entries; -1002 (nothing changed) above kMaxEntries.
  int32_t Start(uint32_t entries);
  void Add(uint8_t direction, uint8_t byte);
  void Clear();
  void Release();
  bool Empty() const { return position_ == 0 && !wrapped_; }
  // Entries held, oldest first, as (direction, byte) pairs.
  std::vector<uint8_t> Entries() const;

  // Writes the entries to the file, one per line ("R 41"), appending when
  // asked, then empties the ring. An empty ring writes nothing. 0, or minus
  // the error number of a failed file operation.
  int32_t Dump(const std::string& fileName, bool append, bool hex, bool allHex);

 private:
  std::vector<uint8_t> ring_;  // two bytes per entry
  uint32_t entries_ = 0;
  uint32_t position_ = 0;
  bool wrapped_ = false;
};

// How the trace and log dumps write one byte: two hex digits when allHex is
// set, or when hex is set and the byte is not printable; otherwise the
// character itself, a non-printable one as '.'.
std::string ByteText(uint8_t byte, bool hex, bool allHex);
