#pragma once
// One telnet connection to a serial server with the COM-PORT-OPTION of
// RFC 2217, as pure data: the server's bytes go in (Receive) and come out as
// the line's data and the server's news (modem and line state, flow
// control, the line settings it took); the line's data for the server and
// this end's commands and answers collect, in order, in the outgoing bytes
// (TakeOutgoing). No I/O and no locks: its owner serializes the calls.
//
// Any byte sequence is accepted. IAC is doubled in both directions; outside
// binary mode a bare CR travels as CR NUL (RFC 854). Option requests are
// answered by the rules of RFC 1143 (TelnetOptions): this end performs
// binary transmission and the COM-PORT-OPTION, lets the server transmit
// binary and suppress go-ahead, and refuses everything else (echo among
// them). A sub-negotiation that breaks off (a COM-PORT message followed by
// something other than IAC SE, or any longer than kMaxSubnegotiation) is
// dropped and what follows is data again, so a server sending garbage costs
// at most that many bytes of the line's data.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "serial/net/ComPortLine.h"
#include "serial/net/TelnetOptions.h"

class TelnetSession {
 public:
  // Where this end's offer of the COM-PORT-OPTION stands.
  enum class ComPortState { Asked, Agreed, Refused };

  // What one Receive brought, as bits.
  static constexpr uint32_t kModemStateNews = 0x1;  // a NOTIFY-MODEMSTATE
  static constexpr uint32_t kLineErrorNews = 0x2;   // a NOTIFY-LINESTATE with line errors
  static constexpr uint32_t kFlowNews = 0x4;        // the server suspended or resumed

  static constexpr size_t kMaxSubnegotiation = 256;
  // What this end answers a server that asks for its signature.
  static constexpr std::string_view kSignature = "Azimara M";

  // The line settings the server reports having (its answers to this end's
  // commands); none for what it has not said.
  struct ServerLine {
    std::optional<uint32_t> BaudRate;
    std::optional<uint8_t> DataSize;
    std::optional<uint8_t> Parity;
    std::optional<uint8_t> StopSize;
  };

  TelnetSession();

  // Queues the opening requests: the COM-PORT-OPTION, binary both ways.
  void Start();

  // Decodes bytes from the server: the line's bytes are appended to data,
  // answers due are queued. What the bytes brought (k...News bits).
  uint32_t Receive(const uint8_t* bytes, size_t count, std::vector<uint8_t>& data);

  // Queues the line's bytes for the server.
  void SendData(const uint8_t* bytes, size_t count);
  // Queues the settings of line that differ from those sent before (all of
  // them the first time), once the COM-PORT-OPTION is agreed; never when it
  // was refused.
  void SendLine(const ComPortLine& line);
  // The same for the DTR and RTS lines.
  void SendDtr(bool on);
  void SendRts(bool on);
  // Asks the server to drop data it holds (comport::kPurgeReceived,
  // kPurgeToSend), when the option is agreed.
  void SendPurge(uint8_t which);

  // Appends the bytes queued for the server to out and forgets them.
  void TakeOutgoing(std::vector<uint8_t>& out);
  bool HasOutgoing() const { return !outgoing_.empty(); }

  ComPortState ComPort() const;
  // Whether the line's bytes go to the server in binary mode (else a bare
  // CR goes as CR NUL).
  bool SendsBinary() const;
  // The last NOTIFY-MODEMSTATE value, change bits and all (0 before one).
  uint8_t ModemState() const { return modemState_; }
  // The line error bits (overrun, parity, framing, break) notified since the
  // last call; taken.
  uint8_t TakeLineErrors();
  uint8_t PendingLineErrors() const { return lineErrors_; }
  // The server asked this end to send nothing (FLOWCONTROL-SUSPEND) and has
  // not resumed it yet.
  bool Suspended() const { return suspended_; }
  const ServerLine& Server() const { return server_; }

 private:
  enum class ReadState { Data, Cr, Iac, Verb, Sub, SubIac };

  // One byte in; false when the byte must be read again in the new state.
  bool step(uint8_t byte, std::vector<uint8_t>& data);
  bool stepSub(uint8_t byte, std::vector<uint8_t>& data);
  void handleVerb(uint8_t option);
  // The sub-negotiation has all the bytes its command takes.
  bool subComplete() const;
  void handleSub();
  void handleServerMessage(uint8_t command, const std::vector<uint8_t>& value);
  void queueCommand(uint8_t command, const uint8_t* value, size_t count);
  void queueControl(uint8_t value);
  void sendWanted();

  TelnetOptions options_;
  bool started_ = false;
  bool agreed_ = false;
  ReadState state_ = ReadState::Data;
  uint8_t verb_ = 0;
  std::vector<uint8_t> sub_;
  std::vector<uint8_t> outgoing_;
  uint32_t news_ = 0;

  uint8_t modemState_ = 0;
  uint8_t lineErrors_ = 0;
  bool suspended_ = false;
  ServerLine server_;

  std::optional<ComPortLine> wantedLine_;
  std::optional<ComPortLine> sentLine_;
  std::optional<bool> wantedDtr_;
  std::optional<bool> sentDtr_;
  std::optional<bool> wantedRts_;
  std::optional<bool> sentRts_;
};
