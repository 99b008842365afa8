#include <winsock2.h>
#include <ws2tcpip.h>

#include "remote/AddressText.h"

// inet_pton reads the text alone: it needs no WSAStartup.
bool ReadIpv4Literal(const char* text, uint8_t* bytes) {
  return inet_pton(AF_INET, text, bytes) == 1;
}

bool ReadIpv6Literal(const char* text, uint8_t* bytes) {
  return inet_pton(AF_INET6, text, bytes) == 1;
}
