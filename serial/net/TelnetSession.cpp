#include "serial/net/TelnetSession.h"

#include "serial/net/TelnetCodes.h"

namespace {

using Side = TelnetOptions::Side;

// The value length of each message of the server, from its command code;
// none for the signature, whose text has any length.
std::optional<size_t> serverValueLength(uint8_t command) {
  switch (command) {
    case comport::kServerOffset + comport::kSetBaudRate:
      return 4;
    case comport::kServerOffset + comport::kFlowControlSuspend:
    case comport::kServerOffset + comport::kFlowControlResume:
      return 0;
    case comport::kServerOffset + comport::kSignature:
      return std::nullopt;
    default:
      return 1;
  }
}

uint32_t bigEndian(const std::vector<uint8_t>& value) {
  return (uint32_t{value[0]} << 24) | (uint32_t{value[1]} << 16) | (uint32_t{value[2]} << 8) |
         uint32_t{value[3]};
}

}  // namespace

TelnetSession::TelnetSession()
    : options_({telnet::kBinary, telnet::kComPort, telnet::kSuppressGoAhead},
               {telnet::kBinary, telnet::kSuppressGoAhead}) {}

void TelnetSession::Start() {
  started_ = true;
  options_.Request(Side::Local, telnet::kComPort, outgoing_);
  options_.Request(Side::Local, telnet::kBinary, outgoing_);
  options_.Request(Side::Remote, telnet::kBinary, outgoing_);
}

TelnetSession::ComPortState TelnetSession::ComPort() const {
  if (options_.Enabled(Side::Local, telnet::kComPort)) return ComPortState::Agreed;
  if (!started_ || options_.Asked(Side::Local, telnet::kComPort)) return ComPortState::Asked;
  return ComPortState::Refused;
}

bool TelnetSession::SendsBinary() const { return options_.Enabled(Side::Local, telnet::kBinary); }

uint32_t TelnetSession::Receive(const uint8_t* bytes, size_t count, std::vector<uint8_t>& data) {
  news_ = 0;
  for (size_t i = 0; i < count;) {
    if (step(bytes[i], data)) ++i;
  }
  return news_;
}

bool TelnetSession::step(uint8_t byte, std::vector<uint8_t>& data) {
  switch (state_) {
    case ReadState::Data:
      if (byte == telnet::kIac) {
        state_ = ReadState::Iac;
        return true;
      }
      data.push_back(byte);
      if (byte == telnet::kCr && !options_.Enabled(Side::Remote, telnet::kBinary)) {
        state_ = ReadState::Cr;
      }
      return true;
    case ReadState::Cr:
      state_ = ReadState::Data;
      // CR NUL is a bare CR; anything else after a CR is read as itself.
      return byte == telnet::kNul;
    case ReadState::Iac:
      state_ = ReadState::Data;
      if (byte == telnet::kIac) {
        data.push_back(byte);
      } else if (byte >= telnet::kWill && byte <= telnet::kDont) {
        verb_ = byte;
        state_ = ReadState::Verb;
      } else if (byte == telnet::kSb) {
        sub_.clear();
        state_ = ReadState::Sub;
      }
      // Other commands (NOP, GA, break, ...) mean nothing on this link.
      return true;
    case ReadState::Verb:
      state_ = ReadState::Data;
      handleVerb(byte);
      return true;
    case ReadState::Sub:
    case ReadState::SubIac:
      return stepSub(byte, data);
  }
  return true;
}

bool TelnetSession::stepSub(uint8_t byte, std::vector<uint8_t>& data) {
  if (state_ == ReadState::Sub && byte == telnet::kIac) {
    state_ = ReadState::SubIac;
    return true;
  }
  if (state_ == ReadState::SubIac && byte == telnet::kSe) {
    state_ = ReadState::Data;
    handleSub();
    return true;
  }
  if (state_ == ReadState::SubIac && byte != telnet::kIac) {
    // IAC and a command inside a sub-negotiation: it broke off there.
    state_ = ReadState::Iac;
    return false;
  }
  // A byte of the sub-negotiation (a doubled IAC is one 255).
  const bool doubledIac = state_ == ReadState::SubIac;
  state_ = ReadState::Sub;
  if (subComplete() || sub_.size() >= kMaxSubnegotiation) {
    // It broke off: the byte is the line's data again.
    state_ = ReadState::Data;
    if (!doubledIac) return false;
    data.push_back(byte);
    return true;
  }
  sub_.push_back(byte);
  return true;
}

bool TelnetSession::subComplete() const {
  if (sub_.size() < 2 || sub_[0] != telnet::kComPort) return false;
  const std::optional<size_t> length = serverValueLength(sub_[1]);
  return length && sub_.size() >= 2 + *length;
}

void TelnetSession::handleVerb(uint8_t option) {
  options_.Receive(verb_, option, outgoing_);
  const bool agreed = ComPort() == ComPortState::Agreed;
  if (agreed && !agreed_) {
    agreed_ = true;
    // The server's news this end wants, then what was asked for meanwhile.
    queueCommand(comport::kSetLineStateMask, &comport::kLineStateErrors, 1);
    queueCommand(comport::kSetModemStateMask, &comport::kModemStateAll, 1);
    sendWanted();
  }
  agreed_ = agreed;
}

void TelnetSession::handleSub() {
  if (sub_.size() < 2 || sub_[0] != telnet::kComPort || !agreed_) return;
  const uint8_t command = sub_[1];
  const std::vector<uint8_t> value(sub_.begin() + 2, sub_.end());
  const std::optional<size_t> length = serverValueLength(command);
  if (length && value.size() != *length) return;
  handleServerMessage(command, value);
}

void TelnetSession::handleServerMessage(uint8_t command, const std::vector<uint8_t>& value) {
  switch (command) {
    case comport::kServerOffset + comport::kSignature:
      // Without text: the server asks for this end's.
      if (value.empty()) {
        queueCommand(comport::kSignature, reinterpret_cast<const uint8_t*>(kSignature.data()),
                     kSignature.size());
      }
      break;
    case comport::kServerOffset + comport::kSetBaudRate:
      server_.BaudRate = bigEndian(value);
      break;
    case comport::kServerOffset + comport::kSetDataSize:
      server_.DataSize = value[0];
      break;
    case comport::kServerOffset + comport::kSetParity:
      server_.Parity = value[0];
      break;
    case comport::kServerOffset + comport::kSetStopSize:
      server_.StopSize = value[0];
      break;
    case comport::kServerOffset + comport::kNotifyLineState:
      if (value[0] & comport::kLineStateErrors) {
        lineErrors_ |= value[0] & comport::kLineStateErrors;
        news_ |= kLineErrorNews;
      }
      break;
    case comport::kServerOffset + comport::kNotifyModemState:
      modemState_ = value[0];
      news_ |= kModemStateNews;
      break;
    case comport::kServerOffset + comport::kFlowControlSuspend:
      suspended_ = true;
      news_ |= kFlowNews;
      break;
    case comport::kServerOffset + comport::kFlowControlResume:
      suspended_ = false;
      news_ |= kFlowNews;
      break;
    default:
      // Answers that need nothing (masks, purges, controls) and codes of
      // the client's direction.
      break;
  }
}

void TelnetSession::SendData(const uint8_t* bytes, size_t count) {
  const bool binary = SendsBinary();
  for (size_t i = 0; i < count; ++i) {
    outgoing_.push_back(bytes[i]);
    if (bytes[i] == telnet::kIac) {
      outgoing_.push_back(telnet::kIac);
    } else if (bytes[i] == telnet::kCr && !binary) {
      outgoing_.push_back(telnet::kNul);
    }
  }
}

void TelnetSession::SendLine(const ComPortLine& line) {
  wantedLine_ = line;
  sendWanted();
}

void TelnetSession::SendDtr(bool on) {
  wantedDtr_ = on;
  sendWanted();
}

void TelnetSession::SendRts(bool on) {
  wantedRts_ = on;
  sendWanted();
}

void TelnetSession::SendPurge(uint8_t which) {
  if (agreed_) queueCommand(comport::kPurgeData, &which, 1);
}

void TelnetSession::sendWanted() {
  if (!agreed_) return;
  if (wantedLine_ && wantedLine_ != sentLine_) {
    const ComPortLine& line = *wantedLine_;
    const bool all = !sentLine_;
    if (all || line.BaudRate != sentLine_->BaudRate) {
      const uint8_t rate[4] = {
          static_cast<uint8_t>(line.BaudRate >> 24), static_cast<uint8_t>(line.BaudRate >> 16),
          static_cast<uint8_t>(line.BaudRate >> 8), static_cast<uint8_t>(line.BaudRate)};
      queueCommand(comport::kSetBaudRate, rate, sizeof rate);
    }
    if (all || line.DataSize != sentLine_->DataSize) {
      queueCommand(comport::kSetDataSize, &line.DataSize, 1);
    }
    if (all || line.Parity != sentLine_->Parity) queueCommand(comport::kSetParity, &line.Parity, 1);
    if (all || line.StopSize != sentLine_->StopSize) {
      queueCommand(comport::kSetStopSize, &line.StopSize, 1);
    }
    if (all || line.OutboundFlow != sentLine_->OutboundFlow) queueControl(line.OutboundFlow);
    if (all || line.InboundFlow != sentLine_->InboundFlow) queueControl(line.InboundFlow);
    sentLine_ = wantedLine_;
  }
  if (wantedDtr_ && wantedDtr_ != sentDtr_) {
    queueControl(*wantedDtr_ ? comport::kDtrOn : comport::kDtrOff);
    sentDtr_ = wantedDtr_;
  }
  if (wantedRts_ && wantedRts_ != sentRts_) {
    queueControl(*wantedRts_ ? comport::kRtsOn : comport::kRtsOff);
    sentRts_ = wantedRts_;
  }
}

void TelnetSession::queueControl(uint8_t value) { queueCommand(comport::kSetControl, &value, 1); }

void TelnetSession::queueCommand(uint8_t command, const uint8_t* value, size_t count) {
  outgoing_.insert(outgoing_.end(), {telnet::kIac, telnet::kSb, telnet::kComPort, command});
  for (size_t i = 0; i < count; ++i) {
    outgoing_.push_back(value[i]);
    if (value[i] == telnet::kIac) outgoing_.push_back(telnet::kIac);
  }
  outgoing_.insert(outgoing_.end(), {telnet::kIac, telnet::kSe});
}

void TelnetSession::TakeOutgoing(std::vector<uint8_t>& out) {
  out.insert(out.end(), outgoing_.begin(), outgoing_.end());
  outgoing_.clear();
}

uint8_t TelnetSession::TakeLineErrors() {
  const uint8_t errors = lineErrors_;
  lineErrors_ = 0;
  return errors;
}
