#include "serial/net/SioNetDispatcher.h"

#include <pthread.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "serial/CommCodes.h"
#include "serial/ErrnoMapping.h"
#include "serial/LastError.h"
#include "serial/PortPath.h"
#include "serial/net/ComPortLine.h"
#include "serial/net/IdleStatusThread.h"
#include "serial/net/ServerConnect.h"
#include "serial/net/ServerLinkThread.h"
#include "serial/net/TelnetCodes.h"

namespace {

// How long after connecting a server still counts as turning this end
// away by hanging up: a fixed allowance for its own work and two round
// trips, as long as the connection took.
constexpr std::chrono::milliseconds kHangUpAllowance{100};

constexpr uint8_t kModemLines = 0xF0;

// DTR and RTS raised, the rate unknown.
Dcb unknownLine() {
  Dcb line;
  line.BaudRate = 0;
  line.Flags = kDcbBinary | kDtrControlEnable | kRtsControlEnable;
  return line;
}

int32_t failOpen(int error) {
  SetSioLastError(SioErrorOfErrno(error));
  return -1;
}

}  // namespace

TSioNetDispatcher::TSioNetDispatcher(TSioBaseComponent* owner)
    : TSioDescriptorDispatcher(owner), keptLine_(unknownLine()) {}

TSioNetDispatcher::~TSioNetDispatcher() { CloseForDestruction(); }

intptr_t TSioNetDispatcher::OpenDevice(const char* name, int32_t, int32_t) {
  const std::optional<NetTarget> target = ServerOfPort(name);
  // The link was changed since the port was chosen: no server there now.
  if (!target) return failOpen(ENOENT);
  if (const int error = connect(*target)) return failOpen(error);
  return Device();
}

int TSioNetDispatcher::connect(const NetTarget& target) {
  const Deadline deadline(kConnectBound);
  const auto began = Deadline::Clock::now();
  int socket = -1;
  if (const int error = ConnectToServer(target, deadline, socket)) return error;
  const auto took =
      std::chrono::duration_cast<std::chrono::milliseconds>(Deadline::Clock::now() - began);
  auto link = std::make_unique<ServerLink>();
  link->Socket = socket;
  if (target.Protocol == NetProtocol::Rfc2217) {
    if (const int error = AgreeSession(*link, deadline)) return error;
  }
  const auto grace = std::min(kHangUpAllowance + 2 * took, deadline.Remaining());
  if (ServerHungUpWithin(socket, grace)) return EBUSY;
  {
    const std::lock_guard<std::mutex> guard(lineLock_);
    keptLine_ = unknownLine();
  }
  protocol_ = target.Protocol;
  if (protocol_ == NetProtocol::RawTcp) {
    link->Socket = -1;
    SetDeviceHandle(socket);
    return 0;
  }
  if (const int error = OpenLinkPair(*link)) return error;
  link_ = std::move(link);
  SetDeviceHandle(link_->Near);
  return 0;
}

int32_t TSioNetDispatcher::ReleaseDevice(int device) {
  const int32_t result = close(device) == 0 ? 0 : -1;
  // The link itself stays: a dispatch thread still finishing a delivery may
  // ask it for the modem lines.
  if (link_) {
    link_->Near = -1;
    link_->CloseSockets();
  }
  return result;
}

std::unique_ptr<TSioDispatcherThread> TSioNetDispatcher::CreateStatusThread() {
  if (link_) return std::make_unique<TServerLinkThread>(*this, *link_);
  return std::make_unique<TIdleStatusThread>(*this);
}

void TSioNetDispatcher::StartPortThreads() {
  sigset_t pipe;
  sigset_t before;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe, &before);
  // Threads take the signal mask of the thread that makes them.
  struct MaskRestored {
    sigset_t mask;
    ~MaskRestored() { pthread_sigmask(SIG_SETMASK, &mask, nullptr); }
  } const restored{before};
  TSioDescriptorDispatcher::StartPortThreads();
}

template <typename Task>
void TSioNetDispatcher::tellServer(Task task) {
  if (!link_) return;
  {
    const std::lock_guard<std::mutex> guard(link_->Lock);
    task(link_->Session);
  }
  StatusEvent().Set();
}

int32_t TSioNetDispatcher::SendLineEscape(int32_t func) {
  switch (func) {
    case kEscapeSetRts:
    case kEscapeClrRts:
      tellServer([on = func == kEscapeSetRts](TelnetSession& session) { session.SendRts(on); });
      break;
    case kEscapeSetDtr:
    case kEscapeClrDtr:
      tellServer([on = func == kEscapeSetDtr](TelnetSession& session) { session.SendDtr(on); });
      break;
    default:
      break;
  }
  return 0;
}

int32_t TSioNetDispatcher::PurgeDeviceQueue(int32_t which) {
  if (which == 0) {
    if (!ThreadPresent(ThreadRole::Write)) return 0;
    PurgeOutputRing();
    AbortPendingWrite();
    tellServer([](TelnetSession& session) { session.SendPurge(comport::kPurgeToSend); });
    return 1;
  }
  if (which == 1) {
    InputQueue().Clear();
    tellServer([](TelnetSession& session) { session.SendPurge(comport::kPurgeReceived); });
    return 1;
  }
  return 0;
}

int32_t TSioNetDispatcher::CollectLineErrors(ComStat& status) {
  status = ComStat{};
  int received = 0;
  if (ioctl(Device(), FIONREAD, &received) == 0 && received > 0) {
    status.cbInQue = static_cast<uint32_t>(received);
  }
  uint8_t errors = 0;
  if (link_) {
    const std::lock_guard<std::mutex> guard(link_->Lock);
    errors = link_->Session.TakeLineErrors();
  }
  status.cbOutQue = UnsentOutputCount();
  return errors;
}

int32_t TSioNetDispatcher::FetchLineSettings(Dcb& dcb) {
  const std::lock_guard<std::mutex> guard(lineLock_);
  dcb = keptLine_;
  return 0;
}

int32_t TSioNetDispatcher::ApplyLineSettings(Dcb& dcb) {
  const std::optional<ComPortLine> line = ComPortLineOf(dcb);
  if (!line) return -SioErrorOfErrno(EINVAL);
  {
    const std::lock_guard<std::mutex> guard(lineLock_);
    keptLine_ = dcb;
  }
  tellServer([&](TelnetSession& session) { session.SendLine(*line); });
  return 0;
}

uint8_t TSioNetDispatcher::ReadModemLines() {
  if (!link_) return 0;
  const std::lock_guard<std::mutex> guard(link_->Lock);
  return link_->Session.ModemState() & kModemLines;
}

TelnetSession::ServerLine TSioNetDispatcher::ServerLineSettings() {
  if (!link_) return {};
  const std::lock_guard<std::mutex> guard(link_->Lock);
  return link_->Session.Server();
}

int TSioNetDispatcher::ServerSocket() const { return link_ ? link_->Socket : Device(); }
