#include "serial/NoticeReading.h"

#include "serial/SioBaseDispatcher.h"

constinit thread_local NoticeReading* NoticeReading::innermost_ = nullptr;

NoticeReading::NoticeReading(TSioBaseDispatcher& dispatcher)
    : dispatcher_(&dispatcher), outer_(innermost_) {
  const TSioBaseDispatcher::NoticeClaim claim = dispatcher.beginNoticeReading();
  began_ = claim == TSioBaseDispatcher::NoticeClaim::Began;
  if (claim == TSioBaseDispatcher::NoticeClaim::None) dispatcher_ = nullptr;
  innermost_ = this;
}

NoticeReading::~NoticeReading() {
  innermost_ = outer_;
  if (began_ && dispatcher_ != nullptr) dispatcher_->endNoticeReading();
}

void NoticeReading::Forget(const TSioBaseDispatcher& dispatcher) {
  for (NoticeReading* reading = innermost_; reading != nullptr; reading = reading->outer_) {
    if (reading->dispatcher_ == &dispatcher) reading->dispatcher_ = nullptr;
  }
}
