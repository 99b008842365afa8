#include "remote/RemoteSession.h"

#include <utility>

#include "remote/HubAxes.h"
#include "remote/Joined.h"
#include "remote/RotctlErrors.h"
#include "remote/RotctlNumbers.h"
#include "remote/RotctlReply.h"

namespace {

// dump_state: hamlib's protocol version 1 (tag=value lines) and its GS-232B model number.
constexpr const char* kProtocolVersion = "1";
constexpr const char* kGs232bModel = "603";
constexpr int kLimitDecimals = 6;
constexpr int kPositionDecimals = 2;

std::string described(const RotctlRequest& request) {
  std::string text(request.Command->Name);
  for (const std::string& argument : request.Arguments) text.append(" ").append(argument);
  return text;
}

std::string degrees(int32_t angle) { return FixedPoint(angle, kPositionDecimals); }

}  // namespace

RemoteSession::RemoteSession(const RemoteRotator& rotator, Submit submit)
    : rotator_(rotator), submit_(std::move(submit)) {}

size_t RemoteSession::Receive(std::string_view bytes) {
  size_t taken = 0;
  while (taken < bytes.size() && !Waiting() && !ended_) {
    switch (parser_.Take(bytes[taken++])) {
      case RotctlParser::Step::More:
        break;
      case RotctlParser::Step::Complete:
        carryOut(parser_.Request());
        break;
      case RotctlParser::Step::Quit:
      case RotctlParser::Step::Failed:
        ended_ = true;
        break;
    }
  }
  return taken;
}

void RemoteSession::Completed(int status) {
  if (!waiting_) return;
  const RotctlReply reply(*waiting_);
  output_ += status == 0 ? reply.Succeeded() : reply.Failed(status);
  waiting_.reset();
}

std::string RemoteSession::TakeOutput() { return std::exchange(output_, {}); }

void RemoteSession::carryOut(const RotctlRequest& request) {
  lastCommand_ = described(request);
  const int32_t config = rotator_.AxisConfig();
  switch (request.Command->Action) {
    case RotctlAction::GetPos:
      return answerPosition(request);
    case RotctlAction::GetInfo:
      return answerInfo(request);
    case RotctlAction::DumpState:
      return answerDumpState(request);
    case RotctlAction::SetPos:
      return setPosition(request);
    case RotctlAction::Move:
      return move(request);
    case RotctlAction::Park:
      return submit(request, ParkCommand(config));
    case RotctlAction::Stop:
      return submit(request, HubCommand{RotatorCommand::StopAll, false, 0, 0});
    case RotctlAction::NotAvailable:
      output_ += RotctlReply(request).Failed(RotctlNotAvailable);
      return;
    case RotctlAction::NotImplemented:
      output_ += RotctlReply(request).Failed(RotctlNotImplemented);
      return;
  }
}

void RemoteSession::submit(const RotctlRequest& request, const HubCommand& command) {
  if (command.IsMove() && rotator_.MovesRefused()) {
    output_ += RotctlReply(request).Failed(RotctlNotAvailable);
    return;
  }
  waiting_ = request;
  submit_(command);
}

void RemoteSession::answerPosition(const RotctlRequest& request) {
  RotctlReply reply(request);
  const std::optional<RotatorPositions> positions = rotator_.CurrentPositions();
  if (!positions) {
    output_ += reply.Failed(RotctlTimedOut);
    return;
  }
  const HubAngles angles =
      ReportedAngles(rotator_.AxisConfig(), positions->Position1, positions->Position2);
  reply.Value("Azimuth", degrees(angles.Azimuth));
  reply.Value("Elevation", degrees(angles.Elevation));
  output_ += reply.Succeeded();
}

void RemoteSession::answerInfo(const RotctlRequest& request) {
  RotctlReply reply(request);
  reply.Value("Info", rotator_.Info());
  output_ += reply.Succeeded();
}

void RemoteSession::answerDumpState(const RotctlRequest& request) {
  const HubLimits limits = LimitsFor(rotator_.AxisConfig());
  RotctlReply reply(request);
  reply.Value("rotctld Protocol Ver", kProtocolVersion);
  reply.Value("Rotor Model", kGs232bModel);
  reply.Setting("Minimum Azimuth", "min_az", FixedPoint(limits.MinAz, kLimitDecimals));
  reply.Setting("Maximum Azimuth", "max_az", FixedPoint(limits.MaxAz, kLimitDecimals));
  reply.Setting("Minimum Elevation", "min_el", FixedPoint(limits.MinEl, kLimitDecimals));
  reply.Setting("Maximum Elevation", "max_el", FixedPoint(limits.MaxEl, kLimitDecimals));
  reply.Setting("South Zero", "south_zero", "0");
  reply.Record(Joined({"rot_type=", limits.RotType}));
  reply.Record("done");
  output_ += reply.Succeeded();
}

void RemoteSession::setPosition(const RotctlRequest& request) {
  const std::optional<double> az = LeadingFloat(request.Arguments.at(0));
  const std::optional<double> el =
      request.Arguments.size() > 1 ? LeadingFloat(request.Arguments[1]) : std::nullopt;
  const std::optional<HubCommand> command =
      az && el ? SetPosCommand(rotator_.AxisConfig(), *az, *el) : std::nullopt;
  if (!command) {
    output_ += RotctlReply(request).Failed(RotctlInvalidArgument);
    return;
  }
  submit(request, *command);
}

void RemoteSession::move(const RotctlRequest& request) {
  const std::string& name = request.Arguments.at(0);
  std::optional<int> direction = DirectionNamed(name);
  if (!direction) direction = LeadingInt(name);
  const std::optional<int> speed =
      request.Arguments.size() > 1 ? LeadingInt(request.Arguments[1]) : std::nullopt;
  const std::optional<HubCommand> command =
      direction && speed ? MoveCommand(rotator_.AxisConfig(), *direction) : std::nullopt;
  if (!command) {
    output_ += RotctlReply(request).Failed(RotctlInvalidArgument);
    return;
  }
  submit(request, *command);
}
