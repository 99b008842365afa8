#include "protocol/ByteTransmission.h"

#include <exception>

void SendCommandBytes(const CommandBuffer& CmdBuf, size_t n, const PortCheck& isOpen,
                      const ByteSender& sendChar) {
  for (size_t i = 0; i < n; ++i) {
    if (isOpen()) {
      sendChar(CmdBuf.at(i));
    }
  }
}

void SendPollBytes(const CommandBuffer& CmdBuf, size_t n, const PortCheck& mayPoll,
                   const ByteSender& sendChar) {
  try {
    SendCommandBytes(CmdBuf, n, mayPoll, sendChar);
  } catch (const std::exception&) {
    // A poll that fails is dropped; an error box on every tick would lock the operator out.
  }
}
