// The operator's view of the hub: the window's context menu, the "Remote control" dialog, its
// switches and what the panel says when it cannot listen.

#include <gtest/gtest.h>

#include <QApplication>
#include <QContextMenuEvent>
#include <QTest>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <netinet/in.h>

#include "tests/remote/HubPanel.h"
#include "tests/remote/TcpClient.h"
#include "tests/tools/TextLines.h"

namespace {

using Dialog = HubPanelTest;

// Standard error of this process written to a file while it lives.
class StandardErrorCapture {
 public:
  explicit StandardErrorCapture(std::string path) : path_(std::move(path)) {
    std::fflush(stderr);
    saved_ = dup(STDERR_FILENO);
    const int file = open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    dup2(file, STDERR_FILENO);
    close(file);
  }
  ~StandardErrorCapture() { Stop(); }
  void Stop() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
  }
  std::vector<std::string> Lines() {
    Stop();
    return ReadLines(path_);
  }

 private:
  std::string path_;
  int saved_ = -1;
};

// A TCP port on 127.0.0.1 held by this test, as another program would hold 4533.
class TakenPort {
 public:
  TakenPort() {
    fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(fd_, 1) != 0 ||
        getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      ADD_FAILURE() << "cannot take a port";
    }
    Port = ntohs(address.sin_port);
  }
  ~TakenPort() { Release(); }
  void Release() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }
  uint16_t Port = 0;

 private:
  int fd_ = -1;
};

std::vector<std::string> linesWith(const std::vector<std::string>& lines, const std::string& part) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.find(part) != std::string::npos) found.push_back(line);
  }
  return found;
}

void openFromContextMenu(TForm1& form) {
  QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(150, 60),
                          form.mapToGlobal(QPoint(150, 60)));
  QApplication::sendEvent(&form, &event);
  QMenu* menu = form.ContextMenu();
  ASSERT_NE(menu, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
  QAction* action = menu->findChild<QAction*>(QStringLiteral("RemoteControlAction"));
  ASSERT_NE(action, nullptr);
  EXPECT_EQ(action->text(), "Remote control...");
  action->trigger();
  menu->hide();
}

TEST_F(Dialog, TheContextMenuOpensTheDialogWithTheServerAndEachClient) {
  Start();
  TcpClient tracker(port, Deadline(kPatience));
  tracker.Send("P 150 20\np\n");
  openFromContextMenu(*form);
  TRemoteControlForm* dialog = Remote().Dialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowTitle(), "Remote control");
  EXPECT_EQ(dialog->ListenLabel->text(), "Listening on 127.0.0.1:" + QString::number(port) +
                                             " for rotctld clients (Gpredict, rotctl -m 2).");
  EXPECT_EQ(dialog->ListenLabel->accessibleName(), dialog->ListenLabel->text());
  EXPECT_TRUE(dialog->ServerCheckBox->isChecked());
  EXPECT_FALSE(dialog->RefuseMovesCheckBox->isChecked());
  // The table follows the clients while the dialog is open.
  ASSERT_TRUE(RunEventsUntil([&] {
    return dialog->ClientsTable->rowCount() == 1 && dialog->ClientsTable->item(0, 2) &&
           dialog->ClientsTable->item(0, 2)->text() == "get_pos";
  }));
  EXPECT_TRUE(dialog->ClientsTable->item(0, 0)->text().startsWith("127.0.0.1:"));
  EXPECT_EQ(
      QDateTime::fromString(dialog->ClientsTable->item(0, 1)->text(), "yyyy-MM-dd HH:mm:ss").date(),
      QDate::currentDate());
  {
    TcpClient second(port, Deadline(kPatience));
    EXPECT_TRUE(RunEventsUntil([&] { return dialog->ClientsTable->rowCount() == 2; }));
  }
  EXPECT_TRUE(RunEventsUntil([&] { return dialog->ClientsTable->rowCount() == 1; }));
  EXPECT_FALSE(dialog->ClosedLabel->isVisible()) << "nobody was dropped";
  QTest::mouseClick(dialog->CloseButton, Qt::LeftButton);
  EXPECT_FALSE(dialog->isVisible());
}

TEST_F(Dialog, TheSwitchesActAtOnceAndOnlyTheServersFileIsWritten) {
  Start();
  const std::string panelSettings = ReadFile("QV_M.ini");
  Remote().ShowDialog();
  TRemoteControlForm* dialog = Remote().Dialog();
  TcpClient tracker(port, Deadline(kPatience));

  QTest::mouseClick(dialog->RefuseMovesCheckBox, Qt::LeftButton);
  EXPECT_TRUE(dialog->RefuseMovesCheckBox->isChecked());
  tracker.Send("P 200 30\np\n");
  EXPECT_EQ(Await(tracker, "30.00\n"), "RPRT -11\n120.00\n30.00\n");
  EXPECT_EQ(ReadFile("QV_M_remote.ini"), "port=" + std::to_string(port) + "\r\nmoves=refuse\r\n");

  QTest::mouseClick(dialog->ServerCheckBox, Qt::LeftButton);
  EXPECT_EQ(dialog->ListenLabel->text(), "Off: network clients cannot connect.");
  EXPECT_TRUE(AwaitClosed(tracker)) << "its clients are let go";
  EXPECT_THROW(TcpClient(port, Deadline(std::chrono::milliseconds(0))), std::runtime_error);
  EXPECT_EQ(ReadFile("QV_M_remote.ini"),
            "port=" + std::to_string(port) + "\r\nmoves=refuse\r\nenabled=off\r\n");

  QTest::mouseClick(dialog->ServerCheckBox, Qt::LeftButton);
  TcpClient again(port, Deadline(kPatience));
  again.Send("p\n");
  EXPECT_EQ(Await(again, "30.00\n"), "120.00\n30.00\n");
  EXPECT_EQ(ReadFile("QV_M.ini"), panelSettings) << "the panel's own nine lines are untouched";
  EXPECT_TRUE(Commands().empty());

  // The next start keeps what the operator switched.
  form.reset();
  StartPanelOnly();
  Remote().ShowDialog();
  EXPECT_TRUE(Remote().Dialog()->ServerCheckBox->isChecked());
  EXPECT_TRUE(Remote().Dialog()->RefuseMovesCheckBox->isChecked());
}

TEST_F(Dialog, APortTakenAtStartAndABadLineAreSaidOnceAndThePanelRunsOn) {
  CopyLanguageFile();
  WriteSettings({"1", "EN", "500", "10", "0", "0", "2", "50", "50"});
  TakenPort taken;
  port = taken.Port;
  WriteFile("QV_M_remote.ini", "port=" + std::to_string(port) + "\r\nspeed=4\r\n");
  simulator = std::make_unique<SimulatorProcess>(
      std::vector<std::string>{"--link", Path("COM1"), "--az", "120", "--el", "30"});
  StandardErrorCapture standardError(Path("stderr.txt"));
  StartPanelOnly();
  EXPECT_TRUE(RunEventsUntil([&] { return form->Label6->text() == ReadOut(kAzimuth); }))
      << "the panel polls without its server";
  const std::vector<std::string> said = standardError.Lines();
  const std::string notListening =
      "remote control does not listen on 127.0.0.1:" + std::to_string(port) + ": ";
  EXPECT_EQ(linesWith(said, notListening).size(), 1u);
  EXPECT_EQ(linesWith(said, Path("QV_M_remote.ini") + ", line 2: unknown key \"speed\"").size(),
            1u);
  EXPECT_TRUE(messages.empty()) << "no message box holds up the start";

  Remote().ShowDialog();
  TRemoteControlForm* dialog = Remote().Dialog();
  EXPECT_TRUE(dialog->ListenLabel->text().startsWith(
      "Not listening on 127.0.0.1:" + QString::number(port) + ": "))
      << dialog->ListenLabel->text().toStdString();
  EXPECT_TRUE(dialog->ProblemsLabel->text().contains("line 2: unknown key \"speed\""));

  // Once the other program let go, switching the server off and on again is enough.
  taken.Release();
  QTest::mouseClick(dialog->ServerCheckBox, Qt::LeftButton);
  QTest::mouseClick(dialog->ServerCheckBox, Qt::LeftButton);
  TcpClient tracker(port, Deadline(kPatience));
  tracker.Send("p\n");
  EXPECT_EQ(Await(tracker, "30.00\n"), "120.00\n30.00\n");
}

TEST_F(Dialog, BeyondLoopbackOnlyTheAllowedAddressesGetIn) {
  const std::optional<std::string> own = OwnNetworkAddress();
  if (!own) GTEST_SKIP() << "this machine has no network address besides loopback";
  Start({}, "address=0.0.0.0\r\n");
  {
    TcpClient stranger(*own, port, Deadline(kPatience));
    EXPECT_TRUE(AwaitClosed(stranger));
  }
  EXPECT_EQ(Remote().Server().Refused(), 1);
  TcpClient local(port, Deadline(kPatience));
  local.Send("p\n");
  EXPECT_EQ(Await(local, "30.00\n"), "120.00\n30.00\n") << "loopback clients always may";

  form.reset();
  WriteFile("QV_M_remote.ini",
            "port=" + std::to_string(port) + "\r\naddress=0.0.0.0\r\nallow=" + *own + "/32\r\n");
  StartPanelOnly();
  TcpClient friendClient(*own, port, Deadline(kPatience));
  friendClient.Send("_\n");
  EXPECT_EQ(Await(friendClient, "\n"), "Azimara M V1.7, GS-232B on COM1\n");
}

}  // namespace
