#pragma once
// The readers under test read real files, so each input is written into a file first: in a
// private temporary start-up directory made at the first input and removed when the process
// ends.

#include <cstddef>
#include <cstdint>
#include <string>

// Replaces the file name of the start-up directory with exactly size bytes of data; returns its
// path.
std::string WriteInputFile(const std::string& name, const uint8_t* data, size_t size);
