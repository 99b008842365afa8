#include <arpa/inet.h>

#include "remote/AddressText.h"

bool ReadIpv4Literal(const char* text, uint8_t* bytes) {
  return inet_pton(AF_INET, text, bytes) == 1;
}

bool ReadIpv6Literal(const char* text, uint8_t* bytes) {
  return inet_pton(AF_INET6, text, bytes) == 1;
}
