// One position poll through the whole panel: the real window on the offscreen platform, in a
// start-up directory of its own whose COM1 leads to the simulator, directly or through Debian's
// ser2net on 127.0.0.1. Each round calls the poll timer's handler Timer1Timer, which writes the
// query, and runs the event loop until the reply handler has run: it adds the echo line to Memo1
// and, in the same call, sets Label6 and Label7. Prints p50, p99 and the worst of the rounds.
//
//   panel_round_trip_bench [rounds] [direct|raw|rfc2217|raw-now|rfc2217-now]    (10000, direct)
//
// "-now": ser2net without its wait for more characters after each one (chardelay: false), so
// the figure shows the cost of the network path alone.

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "app/Form1.h"
#include "bench/PanelBenchSupport.h"
#include "bench/Percentile.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/tools/Ser2netProcess.h"
#include "tests/tools/SimulatorProcess.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kDefaultRounds = 10'000;
constexpr int kWarmUpRounds = 50;
constexpr auto kReplyPatience = std::chrono::seconds(5);

// Counts the replies the panel has handled, by the echo lines they leave.
class ReplyCounter {
 public:
  explicit ReplyCounter(const TForm1& form) : form_(form) {}
  long Handled() const { return form_.Echoes().Appended(); }

 private:
  const TForm1& form_;
};

// Sends one poll; the microseconds until its reply has been handled, or a negative number.
double pollOnce(TForm1& form, const ReplyCounter& replies) {
  const long before = replies.Handled();
  const auto start = Clock::now();
  form.Timer1Timer();
  while (replies.Handled() == before) {
    if (Clock::now() - start > kReplyPatience) return -1;
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

// The way from COM1 to the simulator: its pseudo-terminal, or ser2net in front of it.
struct Way {
  std::string Name = "direct";
  bool Server = false;
  Ser2netProcess::Accepter Accepter = Ser2netProcess::Accepter::RawTcp;
  bool CharDelay = true;
};

Way wayNamed(const std::string& name) {
  Way way;
  way.Name = name;
  way.Server = name != "direct";
  way.Accepter = name.starts_with("rfc2217") ? Ser2netProcess::Accepter::Rfc2217
                                             : Ser2netProcess::Accepter::RawTcp;
  way.CharDelay = !name.ends_with("-now");
  return way;
}

int measure(int rounds, const Way& way) {
  TemporaryDirectory directory;
  PrepareStartDirectory(directory, "5000");
  std::vector<std::string> options{"--az", "123", "--el", "45"};
  if (!way.Server) options.insert(options.end(), {"--link", directory.Path("COM1")});
  SimulatorProcess simulator(options);
  std::unique_ptr<Ser2netProcess> ser2net;
  if (way.Server) {
    ser2net = std::make_unique<Ser2netProcess>(simulator.ClientPath(), way.Accepter, way.CharDelay);
    std::filesystem::create_symlink(ser2net->Url(), directory.Path("COM1"));
  }
  std::filesystem::current_path(directory.Path());
  auto form = std::make_unique<TForm1>();
  if (!form->SioComPort1.Open()) {
    std::fprintf(stderr, "the panel did not open its port\n");
    return 1;
  }
  form->Timer1->SetEnabled(false);
  // Wakes the event loop now and then, so a reply that never comes ends the wait.
  QTimer wake;
  wake.start(100);
  const ReplyCounter replies(*form);
  std::vector<double> micros;
  for (int round = -kWarmUpRounds; round < rounds; ++round) {
    const double took = pollOnce(*form, replies);
    if (took < 0) {
      std::fprintf(stderr, "no reply to poll %d\n", round);
      return 1;
    }
    if (round >= 0) micros.push_back(took);
  }
  if (form->Label6->text() != QStringLiteral("123°") ||
      form->Label7->text() != QStringLiteral("45°")) {
    std::fprintf(stderr, "the read-outs show the wrong positions\n");
    return 1;
  }
  std::printf("panel poll round trip, %s: p50 %.0f us, p99 %.0f us, worst %.0f us (%d polls)\n",
              way.Name.c_str(), Percentile(micros, 0.5), Percentile(micros, 0.99),
              Percentile(micros, 1.0), rounds);
  // The window goes before the server and the simulator it talks to.
  form.reset();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
  const std::string name = argc > 2 ? argv[2] : "direct";
  if (name != "direct" && name != "raw" && name != "rfc2217" && name != "raw-now" &&
      name != "rfc2217-now") {
    std::fprintf(stderr, "usage: %s [rounds] [direct|raw|rfc2217|raw-now|rfc2217-now]\n", argv[0]);
    return 2;
  }
  const Way way = wayNamed(name);
  return RunInPanelApplication(argv[0], [rounds, &way] { return measure(rounds, way); });
}
