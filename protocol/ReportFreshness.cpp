#include "protocol/ReportFreshness.h"

ReportFreshness::ReportFreshness(Clock now) : now_(std::move(now)) {}

void ReportFreshness::ReportAccepted() { lastAccepted_ = now_(); }

void ReportFreshness::ExpectReports() { expectedSince_ = now_(); }

std::optional<ReportFreshness::TimePoint> ReportFreshness::currentUntil(
    const std::optional<TimePoint>& since, std::chrono::milliseconds pollInterval) const {
  if (!since || pollInterval.count() <= 0) return std::nullopt;
  return *since + kStaleIntervals * pollInterval;
}

std::optional<ReportFreshness::TimePoint> ReportFreshness::lastAnswerOrStart() const {
  return lastAccepted_ ? lastAccepted_ : expectedSince_;
}

bool ReportFreshness::IsFresh(std::chrono::milliseconds pollInterval) const {
  const std::optional<TimePoint> until = currentUntil(lastAccepted_, pollInterval);
  return until && now_() < *until;
}

bool ReportFreshness::IsOverdue(std::chrono::milliseconds pollInterval) const {
  if (!lastAnswerOrStart()) return false;
  return !TimeUntilOverdue(pollInterval);
}

std::optional<std::chrono::steady_clock::duration> ReportFreshness::TimeUntilOverdue(
    std::chrono::milliseconds pollInterval) const {
  const std::optional<TimePoint> until = currentUntil(lastAnswerOrStart(), pollInterval);
  if (!until) return std::nullopt;
  const TimePoint now = now_();
  if (now >= *until) return std::nullopt;
  return *until - now;
}
