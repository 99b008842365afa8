#include "app/CodePageText.h"

#include <cstdint>
#include <optional>

namespace {

// The strict UTF-8 reading of bytes: no overlong forms, no surrogates, nothing above U+10FFFF.
std::optional<std::u32string> decodeUtf8(std::string_view bytes) {
  std::u32string characters;
  size_t i = 0;
  while (i < bytes.size()) {
    const auto lead = static_cast<uint8_t>(bytes[i]);
    size_t length = 0;
    char32_t character = 0;
    char32_t smallest = 0;
    if (lead < 0x80) {
      length = 1;
      character = lead;
    } else if ((lead & 0xE0) == 0xC0) {
      length = 2;
      character = lead & 0x1F;
      smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
      length = 3;
      character = lead & 0x0F;
      smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
      length = 4;
      character = lead & 0x07;
      smallest = 0x10000;
    } else {
      return std::nullopt;
    }
    if (i + length > bytes.size()) return std::nullopt;
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<uint8_t>(bytes[i + k]);
      if ((next & 0xC0) != 0x80) return std::nullopt;
      character = (character << 6) | (next & 0x3F);
    }
    if (character < smallest || character > 0x10FFFF ||
        (character >= 0xD800 && character <= 0xDFFF)) {
      return std::nullopt;
    }
    characters.push_back(character);
    i += length;
  }
  return characters;
}

// Windows code page 1252: Latin-1 with printable characters in 80-9F hexadecimal. The five
// bytes it leaves undefined stay their C1 control characters, as Windows maps them.
constexpr char32_t kCodePage1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::u32string decodeCodePage1252(std::string_view bytes) {
  std::u32string characters;
  characters.reserve(bytes.size());
  for (const char byte : bytes) {
    const auto value = static_cast<uint8_t>(byte);
    characters.push_back(value >= 0x80 && value < 0xA0 ? kCodePage1252High[value - 0x80] : value);
  }
  return characters;
}

}  // namespace

std::u32string DecodeFileText(std::string_view bytes) {
  if (std::optional<std::u32string> utf8 = decodeUtf8(bytes)) return *std::move(utf8);
  return decodeCodePage1252(bytes);
}

std::string EncodeUtf8(std::u32string_view characters) {
  std::string bytes;
  for (const char32_t c : characters) {
    if (c < 0x80) {
      bytes.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      bytes.push_back(static_cast<char>(0xC0 | (c >> 6)));
      bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
      bytes.push_back(static_cast<char>(0xE0 | (c >> 12)));
      bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      bytes.push_back(static_cast<char>(0xF0 | (c >> 18)));
      bytes.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      bytes.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return bytes;
}
