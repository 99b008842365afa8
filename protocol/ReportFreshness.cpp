#include "protocol/ReportFreshness.h"

ReportFreshness::ReportFreshness(Clock now) : now_(std::move(now)) {}

void ReportFreshness::ReportAccepted() { lastAccepted_ = now_(); }

bool ReportFreshness::IsFresh(std::chrono::milliseconds pollInterval) const {
  if (!lastAccepted_ || pollInterval.count() <= 0) return false;
  return now_() - *lastAccepted_ < StaleIntervals * pollInterval;
}
