#include "tests/serial/support/ComPortGui.h"

#include "serial/NotifyWindowFactory.h"
#include "serial/SioComWindowProc.h"

ComPortGui::ComPortGui() : loop_(std::make_shared<TestGuiLoop>()) {
  loop_->SetHandler([](TSioBaseDispatcher&, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    SioComWindowProc(msg, wParam, lParam);
  });
  std::weak_ptr<TestGuiLoop> loop = loop_;
  SetNotifyWindowFactory([loop] { return std::shared_ptr<NotifyTarget>(loop.lock()); });
}

ComPortGui::~ComPortGui() { SetNotifyWindowFactory({}); }

void ComPortGui::Run(const std::function<void()>& task) {
  std::exception_ptr failure;
  loop_->Call([&] {
    try {
      task();
    } catch (...) {
      failure = std::current_exception();
    }
  });
  if (failure) std::rethrow_exception(failure);
}

FakePorts::FakePorts(std::function<void(FakePlatform&)> configure)
    : configure_(std::move(configure)) {}

TSioCustomComPort::TDispatcherFactory FakePorts::Factory() {
  return [this](TSioBaseComponent* owner) {
    auto fake = std::make_unique<FakePlatform>(owner);
    if (configure_) configure_(*fake);
    latest_.store(fake.get());
    ++made_;
    return std::unique_ptr<TSioBaseDispatcher>(std::move(fake));
  };
}
