// The telnet session with an RFC 2217 server on any bytes a server may send,
// in any pieces, between any commands of this end. What goes out is always
// well-formed telnet carrying exactly the line's bytes that were sent; no
// piece yields more data than it had bytes; answers never outnumber the
// requests they answer; and whatever came before, the session reads plain
// bytes as data again once a sub-negotiation's bound has passed.
//
// Input: operations, each a header byte (low three bits: which; the rest: a
// length or a value) and its bytes: 0 and 1 server bytes, 2 the line's bytes
// to send, 3 a line setting, 4 DTR, 5 RTS, 6 a purge, 7 the outgoing bytes
// taken and checked.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzBytes.h"
#include "FuzzCheck.h"
#include "serial/net/TelnetCodes.h"
#include "serial/net/TelnetSession.h"

namespace {

using Bytes = std::vector<uint8_t>;
using namespace telnet;

// What this end sent, taken apart as a server reads it.
struct Sent {
  Bytes data;
  size_t verbs = 0;
};

Sent parseOutgoing(const Bytes& out) {
  Sent sent;
  for (size_t i = 0; i < out.size(); ++i) {
    if (out[i] != kIac) {
      sent.data.push_back(out[i]);
      continue;
    }
    Check(i + 1 < out.size(), "no IAC ends the outgoing bytes");
    const uint8_t command = out[++i];
    if (command == kIac) {
      sent.data.push_back(kIac);
    } else if (command >= kWill && command <= kDont) {
      Check(i + 1 < out.size(), "an option verb has its option");
      ++i;
      ++sent.verbs;
    } else {
      Check(command == kSb, "this end sends only data, verbs and sub-negotiations");
      Check(i + 1 < out.size() && out[i + 1] == kComPort, "sub-negotiations are COM-PORT ones");
      for (++i;; ++i) {
        Check(i + 1 < out.size(), "every sub-negotiation ends");
        if (out[i] != kIac) continue;
        ++i;
        if (out[i] == kSe) break;
        Check(out[i] == kIac, "an IAC inside a sub-negotiation is doubled");
      }
    }
  }
  return sent;
}

uint8_t byteFrom(FuzzBytes& input, uint8_t low, uint8_t count) {
  return static_cast<uint8_t>(low + input.Byte() % count);
}

ComPortLine lineFrom(FuzzBytes& input) {
  ComPortLine line;
  line.BaudRate = (uint32_t{input.Byte()} << 16) | (uint32_t{input.Byte()} << 8) | input.Byte();
  line.DataSize = byteFrom(input, 5, 4);
  line.Parity = byteFrom(input, comport::kParityNone, 5);
  line.StopSize = byteFrom(input, comport::kStopOne, 3);
  line.OutboundFlow = byteFrom(input, comport::kFlowNone, 3);
  line.InboundFlow = byteFrom(input, comport::kInboundFlowNone, 3);
  return line;
}

class Session {
 public:
  Session() {
    session_.Start();
    verbsReceived_ = 3;  // this end's own requests
  }

  void FromServer(const Bytes& bytes) {
    // Counted generously (an escaped 255 before a verb's code counts too), so
    // the check below can only be too lenient, never wrong.
    for (const uint8_t byte : bytes) {
      if (lastFromServer_ == kIac && byte >= kWill && byte <= kDont) ++verbsReceived_;
      lastFromServer_ = byte;
    }
    Bytes data;
    session_.Receive(bytes.data(), bytes.size(), data);
    Check(data.size() <= bytes.size(), "a piece yields no more data than it had bytes");
  }

  void SendData(const Bytes& bytes) {
    // Outside binary mode a bare CR goes as CR NUL.
    const bool binary = session_.SendsBinary();
    for (const uint8_t byte : bytes) {
      dataSent_.push_back(byte);
      if (byte == kCr && !binary) dataSent_.push_back(kNul);
    }
    session_.SendData(bytes.data(), bytes.size());
  }

  TelnetSession& Telnet() { return session_; }

  void CheckOutgoing() {
    Bytes out;
    session_.TakeOutgoing(out);
    Check(!session_.HasOutgoing(), "taking the outgoing bytes empties them");
    const Sent sent = parseOutgoing(out);
    dataOut_.insert(dataOut_.end(), sent.data.begin(), sent.data.end());
    verbsSent_ += sent.verbs;
    Check(dataOut_ == dataSent_, "exactly the line's bytes go out, in order");
    Check(verbsSent_ <= verbsReceived_, "no option verb goes out unasked");
  }

  void CheckRecovers() {
    Bytes plain(TelnetSession::kMaxSubnegotiation + 2, 'x');
    const std::string mark = "MARK";
    plain.insert(plain.end(), mark.begin(), mark.end());
    Bytes data;
    session_.Receive(plain.data(), plain.size(), data);
    Check(data.size() >= mark.size() && std::string(data.end() - 4, data.end()) == mark,
          "plain bytes are data again past a sub-negotiation's bound");
  }

 private:
  TelnetSession session_;
  Bytes dataSent_;
  Bytes dataOut_;
  uint8_t lastFromServer_ = 0;
  size_t verbsReceived_ = 0;
  size_t verbsSent_ = 0;
};

Bytes piece(FuzzBytes& input, size_t length) {
  Bytes bytes;
  for (size_t i = 0; i < length && !input.AtEnd(); ++i) bytes.push_back(input.Byte());
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzBytes input(data, size);
  Session session;
  while (!input.AtEnd()) {
    const uint8_t header = input.Byte();
    const size_t length = header >> 3;
    switch (header & 7) {
      case 0:
      case 1:
        session.FromServer(piece(input, length * 2));
        break;
      case 2:
        session.SendData(piece(input, length));
        break;
      case 3:
        session.Telnet().SendLine(lineFrom(input));
        break;
      case 4:
        session.Telnet().SendDtr(length & 1);
        break;
      case 5:
        session.Telnet().SendRts(length & 1);
        break;
      case 6:
        session.Telnet().SendPurge(length % 3);
        break;
      default:
        session.CheckOutgoing();
        break;
    }
  }
  session.CheckOutgoing();
  session.CheckRecovers();
  return 0;
}
