#include <gtest/gtest.h>

#include <chrono>

#include "protocol/ReportFreshness.h"

namespace {

using std::chrono::milliseconds;

// A clock the test moves by hand.
class ManualClock {
 public:
  ReportFreshness::Clock Reader() {
    return [this] { return now_; };
  }
  void Advance(milliseconds step) { now_ += step; }

 private:
  ReportFreshness::TimePoint now_{};
};

TEST(ReportFreshness, NothingIsCurrentBeforeTheFirstReport) {
  ManualClock clock;
  const ReportFreshness freshness(clock.Reader());
  EXPECT_FALSE(freshness.IsFresh(milliseconds(1000)));
}

struct AgeCase {
  milliseconds interval;
  milliseconds age;
  bool fresh;
};

TEST(ReportFreshness, AReportStaysCurrentForLessThanThreePollIntervals) {
  const AgeCase cases[] = {
      {milliseconds(1000), milliseconds(0), true},
      {milliseconds(1000), milliseconds(2999), true},
      {milliseconds(1000), milliseconds(3000), false},
      {milliseconds(500), milliseconds(1499), true},
      {milliseconds(500), milliseconds(1500), false},
      {milliseconds(5000), milliseconds(14000), true},
      {milliseconds(0), milliseconds(0), false},
      {milliseconds(-500), milliseconds(0), false},
  };
  for (const AgeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.interval.count() << " ms, " << c.age.count() << " ms old");
    ManualClock clock;
    ReportFreshness freshness(clock.Reader());
    freshness.ReportAccepted();
    clock.Advance(c.age);
    EXPECT_EQ(freshness.IsFresh(c.interval), c.fresh);
  }
}

TEST(ReportFreshness, EveryAcceptedReportStartsTheSpanAnew) {
  ManualClock clock;
  ReportFreshness freshness(clock.Reader());
  freshness.ReportAccepted();
  clock.Advance(milliseconds(2500));
  freshness.ReportAccepted();
  clock.Advance(milliseconds(2500));
  EXPECT_TRUE(freshness.IsFresh(milliseconds(1000)));
  // A slower poll rate chosen later stretches the span of the report already accepted.
  clock.Advance(milliseconds(1000));
  EXPECT_FALSE(freshness.IsFresh(milliseconds(1000)));
  EXPECT_TRUE(freshness.IsFresh(milliseconds(2000)));
}

TEST(ReportFreshness, NothingIsOverdueUntilReportsAreExpected) {
  ManualClock clock;
  const ReportFreshness freshness(clock.Reader());
  clock.Advance(milliseconds(100000));
  EXPECT_FALSE(freshness.IsOverdue(milliseconds(500)));
  EXPECT_FALSE(freshness.TimeUntilOverdue(milliseconds(500)).has_value());
}

TEST(ReportFreshness, AnAnswerIsOverdueThreeIntervalsAfterPollingBeganOrTheLastReport) {
  ManualClock clock;
  ReportFreshness freshness(clock.Reader());
  freshness.ExpectReports();
  clock.Advance(milliseconds(1400));
  EXPECT_FALSE(freshness.IsOverdue(milliseconds(500)));
  EXPECT_FALSE(freshness.IsFresh(milliseconds(500))) << "still nothing to hand on";
  EXPECT_EQ(freshness.TimeUntilOverdue(milliseconds(500)), milliseconds(100));
  clock.Advance(milliseconds(100));
  EXPECT_TRUE(freshness.IsOverdue(milliseconds(500)));
  EXPECT_FALSE(freshness.TimeUntilOverdue(milliseconds(500)).has_value());

  freshness.ReportAccepted();
  EXPECT_FALSE(freshness.IsOverdue(milliseconds(500)));
  EXPECT_EQ(freshness.TimeUntilOverdue(milliseconds(500)), milliseconds(1500));
  // Polling anew later changes nothing once a report came: its age counts.
  clock.Advance(milliseconds(1000));
  freshness.ExpectReports();
  clock.Advance(milliseconds(500));
  EXPECT_TRUE(freshness.IsOverdue(milliseconds(500)));
  // A timer that never polls makes every answer overdue.
  freshness.ReportAccepted();
  EXPECT_TRUE(freshness.IsOverdue(milliseconds(0)));
}

}  // namespace
