#pragma once
// The stand-in GUI thread for tests of the serial port component: a
// TestGuiLoop whose notices run the port's window procedure, installed as
// the notify window factory while the object lives. Every operation on a
// port under test runs on this thread (Run), as it would on the GUI thread.

#include <atomic>
#include <exception>
#include <functional>
#include <memory>

#include "serial/SioCustomComPort.h"
#include "tests/serial/support/FakePlatform.h"
#include "tests/serial/support/TestGuiLoop.h"

class ComPortGui {
 public:
  ComPortGui();
  ~ComPortGui();
  ComPortGui(const ComPortGui&) = delete;
  ComPortGui& operator=(const ComPortGui&) = delete;

  // Runs task on the GUI thread and waits for it; an exception it raised is
  // raised again here.
  void Run(const std::function<void()>& task);

  // The loop itself, for dispatchers opened without a port.
  std::shared_ptr<TestGuiLoop> Loop() const { return loop_; }

  // The value task computes on the GUI thread.
  template <typename T>
  T Get(const std::function<T()>& task) {
    T result{};
    Run([&] { result = task(); });
    return result;
  }

 private:
  std::shared_ptr<TestGuiLoop> loop_;
};

// Makes the fake dispatchers of a port under test and keeps the latest.
class FakePorts {
 public:
  // configure runs on each new fake before the port opens it.
  explicit FakePorts(std::function<void(FakePlatform&)> configure = {});

  TSioCustomComPort::TDispatcherFactory Factory();
  // The latest fake; valid while the port that made it is open.
  FakePlatform& Latest() { return *latest_.load(); }
  int Made() const { return made_.load(); }

 private:
  std::function<void(FakePlatform&)> configure_;
  std::atomic<FakePlatform*> latest_{nullptr};
  std::atomic<int> made_{0};
};
