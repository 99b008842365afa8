// How fast the whole panel notices a controller that went away or fell silent, and how fast it
// has it back: the real window on the offscreen platform, its product settings (poll rate 500
// ms, a lost port tried again once a second), the simulator on COM1. Each round of the first
// kind kills the simulator and starts a new one behind the same link; each of the second kind
// freezes it (SIGSTOP) and thaws it. Prints the median and the worst of the rounds given as
// the first argument (10).

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTimer>

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "bench/PanelBenchSupport.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/WireLog.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kDefaultRounds = 10;
constexpr auto kPatience = std::chrono::seconds(10);

double msBetween(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

// Runs the event loop until condition holds; its moment, or nothing after kPatience.
std::optional<Clock::time_point> waitFor(const std::function<bool()>& condition) {
  const auto end = Clock::now() + kPatience;
  while (!condition()) {
    if (Clock::now() > end) return std::nullopt;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 1);
  }
  return Clock::now();
}

// The milliseconds since the simulator's start at which it logged its first poll.
std::optional<double> firstPollMs(const std::string& log) {
  const std::vector<WireEntry> polls = Polls(ReadWireLog(log));
  if (polls.empty()) return std::nullopt;
  return static_cast<double>(polls.front().Ms);
}

struct Figures {
  std::vector<double> lostShown, firstPoll, current, staleAfterReport, currentAfterThaw;
};

void print(const char* what, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  std::printf("%s: median %.0f ms, worst %.0f ms (%zu rounds)\n", what, ms[ms.size() / 2],
              ms.back(), ms.size());
}

class Bench {
 public:
  explicit Bench(const TemporaryDirectory& directory) : directory_(directory) {}

  std::unique_ptr<SimulatorProcess> StartSimulator() {
    return std::make_unique<SimulatorProcess>(std::vector<std::string>{
        "--link", directory_.Path("COM1"), "--log", directory_.Path("commands.log")});
  }

  bool Current(TForm1& form) { return !form.PositionsStale() && form.SioComPort1.Open(); }

  // Kill, then back: lost shown, first poll on the new line, read-outs current.
  bool Loss(TForm1& form, std::unique_ptr<SimulatorProcess>& simulator, Figures& figures) {
    const Clock::time_point killed = Clock::now();
    simulator->Stop(SIGKILL);
    const auto lost = waitFor([&] { return form.PortLost(); });
    if (!lost) return false;
    simulator.reset();
    const Clock::time_point back = Clock::now();
    simulator = StartSimulator();
    const auto current = waitFor([&] { return Current(form); });
    const std::optional<double> poll = firstPollMs(directory_.Path("commands.log"));
    if (!current || !poll) return false;
    figures.lostShown.push_back(msBetween(killed, *lost));
    figures.firstPoll.push_back(*poll);
    figures.current.push_back(msBetween(back, *current));
    return true;
  }

  // Freeze, then thaw: grey after the last accepted report, current after the thaw.
  bool Silence(TForm1& form, SimulatorProcess& simulator, Figures& figures) {
    Clock::time_point lastReply = Clock::now();
    long replies = form.Echoes().Appended();
    // A reply is seen when its echo line is appended.
    const auto replied = [&] {
      if (form.Echoes().Appended() == replies) return false;
      replies = form.Echoes().Appended();
      lastReply = Clock::now();
      return true;
    };
    // Freezing right after a reply, so the wait covers whole poll intervals.
    waitFor(replied);
    kill(simulator.Pid(), SIGSTOP);
    const auto stale = waitFor([&] {
      replied();
      return form.PositionsStale();
    });
    const Clock::time_point thawed = Clock::now();
    kill(simulator.Pid(), SIGCONT);
    const auto current = waitFor([&] { return Current(form); });
    if (!stale || !current) return false;
    figures.staleAfterReport.push_back(msBetween(lastReply, *stale));
    figures.currentAfterThaw.push_back(msBetween(thawed, *current));
    return true;
  }

 private:
  const TemporaryDirectory& directory_;
};

int measure(int rounds) {
  TemporaryDirectory directory;
  PrepareStartDirectory(directory, "500");
  Bench bench(directory);
  auto simulator = bench.StartSimulator();
  std::filesystem::current_path(directory.Path());
  auto form = std::make_unique<TForm1>();
  // Wakes the event loop now and then, so a wait that is never met ends.
  QTimer wake;
  wake.start(100);
  if (!waitFor([&] { return bench.Current(*form); })) {
    std::fprintf(stderr, "the panel never showed a current position\n");
    return 1;
  }
  Figures figures;
  for (int round = 0; round < rounds; ++round) {
    if (!bench.Loss(*form, simulator, figures) || !bench.Silence(*form, *simulator, figures)) {
      std::fprintf(stderr, "round %d did not come back\n", round);
      return 1;
    }
  }
  print("device gone to lost shown", figures.lostShown);
  print("controller back to its first poll", figures.firstPoll);
  print("controller back to read-outs current", figures.current);
  print("last report to stale shown (poll 500 ms)", figures.staleAfterReport);
  print("thawed to read-outs current", figures.currentAfterThaw);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
  return RunInPanelApplication(argv[0], [rounds] { return measure(rounds); });
}
