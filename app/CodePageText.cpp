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

std::u32string decodeLatin1(std::string_view bytes) {
  std::u32string characters;
  characters.reserve(bytes.size());
  for (const char byte : bytes) characters.push_back(static_cast<uint8_t>(byte));
  return characters;
}

}  // namespace

std::u32string DecodeFileText(std::string_view bytes) {
  if (std::optional<std::u32string> utf8 = decodeUtf8(bytes)) return *std::move(utf8);
  return decodeLatin1(bytes);
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
