#include <cstring>

#include "serial/SystemErrorText.h"

std::string SystemErrorText(int number) {
  // The description alone, without the "Unknown error" fallback of strerror.
  const char* description = strerrordesc_np(number);
  return description == nullptr ? std::string() : std::string(description);
}
