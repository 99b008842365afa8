#include <windows.h>

#include "serial/SystemErrorText.h"

std::string SystemErrorText(int number) {
  // The system message table in the default language, into a buffer of 255
  // characters.
  char text[256];
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      static_cast<DWORD>(number), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), text, 255, nullptr);
  return std::string(text, length);
}
