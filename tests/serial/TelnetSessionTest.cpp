// The telnet session with an RFC 2217 server, as pure bytes: negotiation,
// escaping both ways, the server's messages, the commands, and garbage.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "serial/net/TelnetCodes.h"
#include "serial/net/TelnetSession.h"
#include "tests/serial/support/LoopbackServer.h"

namespace {

using Bytes = std::vector<uint8_t>;
using namespace telnet;

// What ser2net 4 sends as a telnet(rfc2217) accepter the moment it accepts.
const Bytes kSer2netOpening = {kIac, kWill, kSuppressGoAhead,
                               kIac, kDo,   kSuppressGoAhead,
                               kIac, kWill, 1,
                               kIac, kDont, 1,
                               kIac, kDo,   kBinary,
                               kIac, kWill, kBinary,
                               kIac, kDo,   kComPort};

Bytes take(TelnetSession& session) {
  Bytes out;
  session.TakeOutgoing(out);
  return out;
}

Bytes receive(TelnetSession& session, const Bytes& bytes) {
  Bytes data;
  session.Receive(bytes.data(), bytes.size(), data);
  return data;
}

Bytes concat(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

Bytes text(const std::string& chars) { return Bytes(chars.begin(), chars.end()); }

// A session the server agreed with as ser2net does, its outgoing bytes taken.
TelnetSession agreedSession() {
  TelnetSession session;
  session.Start();
  receive(session, kSer2netOpening);
  take(session);
  return session;
}

ComPortLine line9600() {
  return ComPortLine{9600,
                     8,
                     comport::kParityNone,
                     comport::kStopOne,
                     comport::kFlowNone,
                     comport::kInboundFlowNone};
}

TEST(TelnetSession, OpensAsSer2netExpectsAndAgreesToAnOfferOnce) {
  TelnetSession session;
  session.Start();
  EXPECT_EQ(take(session),
            (Bytes{kIac, kWill, kComPort, kIac, kWill, kBinary, kIac, kDo, kBinary}));
  EXPECT_EQ(session.ComPort(), TelnetSession::ComPortState::Asked);
  EXPECT_EQ(receive(session, kSer2netOpening), Bytes{});
  EXPECT_EQ(session.ComPort(), TelnetSession::ComPortState::Agreed);
  // Go-ahead suppressed both ways, no echo; binary and the option were this
  // end's own requests, answered by the server: nothing more to say. Then the
  // news this end wants.
  EXPECT_EQ(take(session),
            concat({{kIac, kDo, kSuppressGoAhead, kIac, kWill, kSuppressGoAhead, kIac, kDont, 1},
                    ComPortMessage(comport::kSetLineStateMask, {comport::kLineStateErrors}),
                    ComPortMessage(comport::kSetModemStateMask, {comport::kModemStateAll})}));
  // The same offers again: what was agreed is not answered again; the refusal
  // of echo is repeated, as RFC 1143 has it.
  receive(session, kSer2netOpening);
  EXPECT_EQ(take(session), (Bytes{kIac, kDont, 1}));
}

TEST(TelnetSession, RefusesWhatItDoesNotDoAndStopsWhatTheServerTurnsOff) {
  TelnetSession session = agreedSession();
  receive(session, {kIac, kDo, 24, kIac, kWill, 31, kIac, kWont, kBinary, kIac, kWont, kBinary});
  EXPECT_EQ(take(session), (Bytes{kIac, kWont, 24, kIac, kDont, 31, kIac, kDont, kBinary}));
  receive(session, {kIac, kDont, kComPort});
  EXPECT_EQ(take(session), (Bytes{kIac, kWont, kComPort}));
  EXPECT_EQ(session.ComPort(), TelnetSession::ComPortState::Refused);
  session.SendLine(line9600());
  session.SendDtr(true);
  EXPECT_EQ(take(session), Bytes{}) << "no commands once the option is off";
}

TEST(TelnetSession, AServerWithoutTheOptionLeavesAPlainTelnetLink) {
  TelnetSession session;
  session.Start();
  take(session);
  receive(session, {kIac, kDont, kComPort, kIac, kDont, kBinary, kIac, kWont, kBinary});
  EXPECT_EQ(session.ComPort(), TelnetSession::ComPortState::Refused);
  EXPECT_EQ(take(session), Bytes{}) << "refusals of this end's requests need no answer";
  // Outside binary mode a bare CR travels as CR NUL, both ways.
  const Bytes query = text("C2\r");
  session.SendData(query.data(), query.size());
  EXPECT_EQ(take(session), (Bytes{'C', '2', kCr, kNul}));
  EXPECT_EQ(receive(session, {'A', kCr, kNul, 'B', kCr, '\n'}), (Bytes{'A', kCr, 'B', kCr, '\n'}));
}

TEST(TelnetSession, IacIsDoubledOnTheWayOutAndSingledOnTheWayIn) {
  TelnetSession session = agreedSession();
  Bytes all(256);
  for (size_t i = 0; i < all.size(); ++i) all[i] = static_cast<uint8_t>(i);
  session.SendData(all.data(), all.size());
  Bytes escaped = all;
  escaped.push_back(kIac);
  EXPECT_EQ(take(session), escaped) << "binary mode: CR goes as it is";
  EXPECT_EQ(receive(session, escaped), all);
  // Split anywhere, the same bytes come out.
  Bytes pieced;
  for (const uint8_t byte : escaped) {
    const Bytes one = receive(session, {byte});
    pieced.insert(pieced.end(), one.begin(), one.end());
  }
  EXPECT_EQ(pieced, all);
}

TEST(TelnetSession, TheServersMessagesReportTheLineItsModemAndItsFlow) {
  TelnetSession session = agreedSession();
  Bytes data;
  const Bytes modem = ComPortMessage(107, {0xB1});
  EXPECT_EQ(session.Receive(modem.data(), modem.size(), data), TelnetSession::kModemStateNews);
  EXPECT_EQ(session.ModemState(), 0xB1);
  const Bytes line = ComPortMessage(106, {0x61 | 0x0C});
  EXPECT_EQ(session.Receive(line.data(), line.size(), data), TelnetSession::kLineErrorNews);
  EXPECT_EQ(session.TakeLineErrors(), 0x0C) << "parity and framing, not the register's other bits";
  EXPECT_EQ(session.TakeLineErrors(), 0);
  const Bytes quiet = ComPortMessage(106, {0x60});
  EXPECT_EQ(session.Receive(quiet.data(), quiet.size(), data), 0u) << "no error, no news";
  // A rate whose bytes hold 255, doubled on the wire.
  receive(session, concat({ComPortMessage(101, {0x00, 0x01, 0xFF, 0x00}), ComPortMessage(102, {7}),
                           ComPortMessage(103, {3}), ComPortMessage(104, {2})}));
  EXPECT_EQ(session.Server().BaudRate, 0x1FF00u);
  EXPECT_EQ(session.Server().DataSize, 7);
  EXPECT_EQ(session.Server().Parity, 3);
  EXPECT_EQ(session.Server().StopSize, 2);
  const Bytes suspend = ComPortMessage(108, {});
  EXPECT_EQ(session.Receive(suspend.data(), suspend.size(), data), TelnetSession::kFlowNews);
  EXPECT_TRUE(session.Suspended());
  receive(session, ComPortMessage(109, {}));
  EXPECT_FALSE(session.Suspended());
  EXPECT_EQ(data, Bytes{});
  EXPECT_EQ(take(session), Bytes{}) << "notices are not answered";
}

TEST(TelnetSession, AnswersASignatureRequestWithItsOwn) {
  TelnetSession session = agreedSession();
  receive(session, ComPortMessage(100, text("ser2net")));
  EXPECT_EQ(take(session), Bytes{}) << "the server's own signature needs no answer";
  receive(session, ComPortMessage(100, {}));
  EXPECT_EQ(take(session), ComPortMessage(comport::kSignature, text("Azimara M")));
}

TEST(TelnetSession, SendsTheWholeLineFirstThenOnlyWhatChanged) {
  TelnetSession session = agreedSession();
  session.SendLine(line9600());
  session.SendDtr(true);
  session.SendRts(true);
  EXPECT_EQ(take(session),
            concat({ComPortMessage(1, {0x00, 0x00, 0x25, 0x80}), ComPortMessage(2, {8}),
                    ComPortMessage(3, {1}), ComPortMessage(4, {1}), ComPortMessage(5, {1}),
                    ComPortMessage(5, {14}), ComPortMessage(5, {8}), ComPortMessage(5, {11})}));
  ComPortLine faster = line9600();
  faster.BaudRate = 0xFF00;
  session.SendLine(faster);
  session.SendLine(faster);
  session.SendDtr(true);
  session.SendRts(false);
  EXPECT_EQ(take(session),
            concat({ComPortMessage(1, {0x00, 0x00, 0xFF, 0x00}), ComPortMessage(5, {12})}));
  session.SendPurge(comport::kPurgeToSend);
  EXPECT_EQ(take(session), ComPortMessage(12, {2}));
}

TEST(TelnetSession, WhatWasAskedForBeforeTheAgreementIsSentWithIt) {
  TelnetSession session;
  session.Start();
  take(session);
  session.SendLine(line9600());
  session.SendDtr(false);
  EXPECT_EQ(take(session), Bytes{});
  receive(session, {kIac, kDo, kComPort});
  const Bytes sent = take(session);
  EXPECT_EQ(Bytes(sent.end() - 7, sent.end()), ComPortMessage(5, {9}));
}

TEST(TelnetSession, GarbageAndBrokenSubnegotiationsCostOnlyTheirOwnBytes) {
  struct Row {
    const char* what;
    Bytes in;
    Bytes data;
  } const rows[] = {
      {"unknown commands", {'a', kIac, 0x41, 'b', kIac, 241, kIac, kSe, 'c'}, text("abc")},
      {"a COM-PORT message not ended by IAC SE",
       {kIac, kSb, kComPort, 107, 0x30, 'Z', '=', '1'},
       text("Z=1")},
      {"a command inside a sub-negotiation",
       {kIac, kSb, kComPort, 101, 0, kIac, kWont, 99, 'o', 'k'},
       text("ok")},
      {"a doubled IAC past a message's end",
       {kIac, kSb, kComPort, 106, 2, kIac, kIac, 'x'},
       {kIac, 'x'}},
      {"a sub-negotiation of another option", {kIac, kSb, 24, 'v', 't', kIac, kSe, 'y'}, text("y")},
      {"a message too short", concat({ComPortMessage(101, {1, 2}), text("z")}), text("z")},
  };
  for (const Row& row : rows) {
    TelnetSession session = agreedSession();
    EXPECT_EQ(receive(session, row.in), row.data) << row.what;
    EXPECT_EQ(session.Server().BaudRate, std::nullopt) << row.what;
    EXPECT_EQ(session.ModemState(), 0) << row.what;
  }
  // A sub-negotiation that never ends holds back no more than its bound.
  TelnetSession session = agreedSession();
  Bytes endless = {kIac, kSb, kComPort, 100};
  endless.resize(endless.size() + TelnetSession::kMaxSubnegotiation, 's');
  endless.insert(endless.end(), {'A', 'Z'});
  const Bytes data = receive(session, endless);
  ASSERT_GE(data.size(), 2u);
  EXPECT_LE(data.size(), 4u);
  EXPECT_EQ(Bytes(data.end() - 2, data.end()), text("AZ"));
}

}  // namespace
