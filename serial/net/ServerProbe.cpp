#include "serial/net/ServerProbe.h"

#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <thread>

#include "serial/Deadline.h"
#include "serial/net/ServerConnect.h"
#include "serial/net/SioNetDispatcher.h"

ServerProbe::ServerProbe(const NetTarget& target)
    : outcome_(std::make_shared<std::atomic<Outcome>>(Outcome::Pending)) {
  try {
    std::thread([outcome = outcome_, target] {
      int socket = -1;
      const int error = ConnectToServer(target, Deadline(TSioNetDispatcher::kConnectBound), socket);
      if (error == 0) close(socket);
      outcome->store(error == 0 || error == ECONNREFUSED ? Outcome::Answered : Outcome::Silent);
    }).detach();
  } catch (const std::system_error&) {
    outcome_->store(Outcome::Silent);
  }
}
