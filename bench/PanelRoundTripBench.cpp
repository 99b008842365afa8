// One position poll through the whole panel: the real window on the offscreen platform, in a
// start-up directory of its own whose COM1 leads to the simulator. Each round calls the poll
// timer's handler Timer1Timer, which writes the query, and runs the event loop until the reply
// handler has run: it adds the echo line to Memo1 and, in the same call, sets Label6 and
// Label7. Prints p50, p99 and the worst of the rounds given as the first argument (10000).

#include <QApplication>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "app/Form1.h"
#include "app/MessageBoxes.h"
#include "app/SerialQtHooks.h"
#include "serial/PortPrompt.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/TemporaryDirectory.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kDefaultRounds = 10'000;
constexpr int kWarmUpRounds = 50;
constexpr auto kReplyPatience = std::chrono::seconds(5);

// The start-up directory: pictures, language file, settings for two axes on COM1.
void prepareStartDirectory(const TemporaryDirectory& directory) {
  const std::string resources = AZIMARA_RESOURCES_DIR;
  for (const char* file : {"Windrose_AZ.jpg", "Windrose_EL.jpg", "QV_M_language.csv"}) {
    std::filesystem::copy_file(resources + "/" + file, directory.Path(file));
  }
  std::ofstream settings(directory.Path("QV_M.ini"), std::ios::binary);
  for (const char* line : {"1", "EN", "5000", "10", "0", "0", "2", "50", "50"}) {
    settings << line << "\r\n";
  }
}

// Counts the replies the panel has handled, by the echo lines they leave.
class ReplyCounter {
 public:
  explicit ReplyCounter(const TForm1& form) {
    QObject::connect(form.Memo1->document(), &QTextDocument::contentsChanged,
                     [this] { ++handled_; });
  }
  long Handled() const { return handled_; }

 private:
  long handled_ = 0;
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

double percentile(std::vector<double> values, double share) {
  std::sort(values.begin(), values.end());
  return values[static_cast<size_t>(share * static_cast<double>(values.size() - 1))];
}

int measure(int rounds) {
  TemporaryDirectory directory;
  prepareStartDirectory(directory);
  SimulatorProcess simulator({"--link", directory.Path("COM1"), "--az", "123", "--el", "45"});
  std::filesystem::current_path(directory.Path(""));
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
  std::printf("panel poll round trip: p50 %.0f us, p99 %.0f us, worst %.0f us (%d polls)\n",
              percentile(micros, 0.5), percentile(micros, 0.99), percentile(micros, 1.0), rounds);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : kDefaultRounds;
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  const SerialQtHooks serialHooks;
  SetPortPrompt({});
  InstallMessageBoxes();
  // A box would wait for a click nobody gives: its text goes to the error output instead.
  SetMessageBoxHandler([](MessageBoxKind, const QString& text) {
    std::fprintf(stderr, "message box: %s\n", text.toLocal8Bit().constData());
  });
  return measure(rounds);
}
