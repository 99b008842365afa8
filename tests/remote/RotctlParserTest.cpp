// The request stream as hamlib 4.5's rotctld reads it, checked on the cases Debian's rotctld
// was seen to read this way, and the limits beyond it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "remote/RotctlParser.h"

namespace {

// A request as the test writes it: "+get_pos", ";set_pos 10 20", "send_cmd AZ".
std::string written(const RotctlRequest& request) {
  std::string text;
  if (request.Extended) text += request.Separator == '\n' ? '+' : request.Separator;
  text += request.Command->Name;
  for (const std::string& argument : request.Arguments) text += " " + argument;
  return text;
}

struct Parsed {
  std::vector<std::string> Requests;
  bool Quit = false;
  RotctlFault Fault = RotctlFault::None;
};

Parsed parse(const std::string& stream) {
  RotctlParser parser;
  Parsed parsed;
  for (const char byte : stream) {
    const RotctlParser::Step step = parser.Take(byte);
    if (step == RotctlParser::Step::Complete) parsed.Requests.push_back(written(parser.Request()));
    if (step == RotctlParser::Step::Quit) {
      parsed.Quit = true;
      break;
    }
    if (step == RotctlParser::Step::Failed) {
      parsed.Fault = parser.Fault();
      break;
    }
  }
  return parsed;
}

struct StreamCase {
  std::string Stream;
  std::vector<std::string> Requests;
};

TEST(RotctlParser, ReadsTheStreamAsRotctldDoes) {
  const StreamCase cases[] = {
      {"p\n", {"get_pos"}},
      {"P 200 30\n", {"set_pos 200 30"}},
      {"\\set_pos\t10\n20\n", {"set_pos 10 20"}},
      {"P\n200\n30\n", {"set_pos 200 30"}},
      {"P 10 20 p\n", {"set_pos 10 20", "get_pos"}},
      {"pp\n", {"get_pos", "get_pos"}},
      {"p p\r\n", {"get_pos", "get_pos"}},
      {"\\get_pos;p\n", {"get_pos", "get_pos"}},
      {"+p\n", {"+get_pos"}},
      {";p\n|p\n,p\n", {";get_pos", "|get_pos", ",get_pos"}},
      {"?p\n*p\n", {"?get_pos", "*get_pos"}},
      {"++p\n+;p\n", {"+get_pos", ";get_pos"}},
      {"+\\dump_state\n", {"+dump_state"}},
      {"+\np\n", {"get_pos"}},
      {"S K _ \\stop\n", {"stop", "park", "get_info", "stop"}},
      {"M 8 -1\n+M CW 5\n", {"move 8 -1", "+move CW 5"}},
      {"P ? 3\np\n", {"set_pos ?", "get_pos"}},
      {"# hello p\np#x\n", {"get_pos"}},
      {"K 5\np\n", {"park", "get_pos"}},
      {"Zjy\\foo\np\n", {"get_pos"}},
      {"X 1 2\nx 1\nR 1\n", {"set_parm 1 2", "get_parm 1", "reset 1"}},
      {"w AZ=1 2\nw\n C2\n", {"send_cmd AZ=1 2", "send_cmd C2"}},
      {"\\pause 1\nB 1 2 3 4\n", {"pause 1", "qrb 1 2 3 4"}},
      {"P 10", {}},
  };
  for (const StreamCase& c : cases) {
    SCOPED_TRACE(c.Stream);
    const Parsed parsed = parse(c.Stream);
    EXPECT_EQ(parsed.Requests, c.Requests);
    EXPECT_FALSE(parsed.Quit);
    EXPECT_EQ(parsed.Fault, RotctlFault::None);
  }
}

TEST(RotctlParser, QuitEndsTheSessionWhereItStands) {
  for (const std::string stream : {"p\nq\np\n", "p Q", "p\n+q"}) {
    SCOPED_TRACE(stream);
    const Parsed parsed = parse(stream);
    EXPECT_EQ(parsed.Requests, std::vector<std::string>{"get_pos"});
    EXPECT_TRUE(parsed.Quit);
  }
}

TEST(RotctlParser, ALongNameBeyondThirtyTwoCharactersIsNoCommand) {
  EXPECT_EQ(parse("\\" + std::string(40, 'a') + " p\n").Requests,
            std::vector<std::string>{"get_pos"});
  EXPECT_EQ(parse("\\get_pos" + std::string(30, '_') + "\n").Requests, std::vector<std::string>{});
}

struct LimitCase {
  std::string Stream;
  RotctlFault Fault;
};

TEST(RotctlParser, StreamsBeyondTheLimitsFailWhereTheyBreakThem) {
  const std::string longest(RotctlParser::kLongestArgument, '1');
  const std::string line(RotctlParser::kLongestLine, ' ');
  const LimitCase cases[] = {
      {"P " + longest + " 2\n", RotctlFault::None},
      {"P " + longest + "1 2\n", RotctlFault::ArgumentTooLong},
      {"w " + longest + "1\n", RotctlFault::ArgumentTooLong},
      {line + "\n" + line + "\np\n", RotctlFault::None},
      {line + " p\n", RotctlFault::LineTooLong},
      {std::string(RotctlParser::kUnknownInARow - 1, 'Z') + "p" +
           std::string(RotctlParser::kUnknownInARow - 1, 'Z') + "\n",
       RotctlFault::None},
      {std::string(RotctlParser::kUnknownInARow, 'Z'), RotctlFault::Garbage},
      {"p\x01p\n", RotctlFault::Garbage},
      {"p \xC3\xA4\n", RotctlFault::Garbage},
      {std::string("p\0", 2), RotctlFault::Garbage},
      {"p\t\v\f\r\n", RotctlFault::None},
      {std::string(100000, '\n') + "p\n", RotctlFault::None},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.Stream.substr(0, 20) + "... (" + std::to_string(c.Stream.size()) + " bytes)");
    EXPECT_EQ(parse(c.Stream).Fault, c.Fault);
  }
}

TEST(RotctlParser, AFailedStreamTakesNoFurtherRequest) {
  RotctlParser parser;
  for (const char byte : std::string(RotctlParser::kUnknownInARow, 'Z')) parser.Take(byte);
  for (const char byte : std::string("p\n")) {
    EXPECT_EQ(parser.Take(byte), RotctlParser::Step::Failed);
  }
  EXPECT_EQ(parser.Fault(), RotctlFault::Garbage);
}

}  // namespace
