#pragma once
// Makes JPEG files for the decoder tests: real ones encoded with libjpeg, and forged headers.

#include <cstdint>
#include <string>
#include <vector>

// clang-format off
#include <cstdio>
#include <jpeglib.h>
// clang-format on

// Encodes width x height pixels of components bytes each, in colour space space, at quality 95.
std::string EncodeJpeg(int width, int height, int components, J_COLOR_SPACE space,
                       const std::vector<uint8_t>& pixels);

// The start of a baseline JPEG whose frame header claims width x height with three components,
// followed by a scan header and the end marker: no tables, no pixel data.
std::string ForgedFrameHeader(uint16_t width, uint16_t height);
