#include "tests/tools/Ser2netProcess.h"

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "tests/tools/LoopbackPort.h"
#include "tests/tools/TestPatience.h"

Ser2netProcess::Ser2netProcess(const std::string& device, Accepter accepter, bool charDelay)
    : accepter_(accepter), port_(FreeLoopbackPort()) {
  std::ofstream config(directory_.Path("ser2net.yaml"));
  const std::string stack = accepter == Accepter::Rfc2217 ? "telnet(rfc2217),tcp" : "tcp";
  config << "connection: &port\n"
         << "    accepter: " << stack << ",127.0.0.1," << port_ << "\n"
         << "    connector: serialdev," << device << ",9600n81,local\n";
  if (!charDelay) config << "    options:\n      chardelay: false\n";
  config.close();
  Start();
}

std::string Ser2netProcess::Url() const {
  return std::string(accepter_ == Accepter::Rfc2217 ? "rfc2217" : "tcp") +
         "://127.0.0.1:" + std::to_string(port_);
}

void Ser2netProcess::Start() {
  if (std::string(SER2NET_PATH).find("NOTFOUND") != std::string::npos) {
    throw std::runtime_error("ser2net is missing; scripts/install-deps.sh installs it");
  }
  // -n: in the foreground; -u: no UUCP lock files.
  process_ = std::make_unique<ChildProcess>(
      SER2NET_PATH, std::vector<std::string>{"-n", "-u", "-c", directory_.Path("ser2net.yaml"),
                                             "-P", directory_.Path("ser2net.pid")});
  const Deadline deadline(kPatience);
  while (!ListeningOn(port_)) {
    if (deadline.Passed() || process_->Wait(Deadline(std::chrono::milliseconds(0)))) {
      throw std::runtime_error("ser2net does not listen on port " + std::to_string(port_));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void Ser2netProcess::Stop() { process_.reset(); }
