// The hub in the real panel on its own X server: a tracker turns the antenna through it while the
// operator opens "Remote control" from the window's context menu and refuses further moves.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include "tests/journeys/PanelJourney.h"
#include "tests/journeys/ToolRun.h"
#include "tests/remote/TcpClient.h"
#include "tests/tools/TestPatience.h"

namespace {

using RemoteJourney = PanelJourney;

TEST_F(RemoteJourney, TheOperatorOpensRemoteControlFromTheContextMenuAndRefusesMoves) {
  const uint16_t port = FreeLoopbackPort();
  WriteFile("QV_M_remote.ini", "port=" + std::to_string(port) + "\r\n");
  StartReadyPanel({"--az", "120", "--el", "30"});
  const std::string server = "127.0.0.1:" + std::to_string(port);
  EXPECT_TRUE(RunTool("rotctl", {"-m", "2", "-r", server, "P", "200", "30"}).Succeeded());
  EXPECT_EQ(WaitForCommands(1).back().Hex, HexBytes("W200 030\r"));

  // A tracker stays connected while the operator looks.
  TcpClient tracker(port, Deadline(kPatience));
  tracker.Send("p\n");
  const std::string position =
      tracker.ReadUntil([](const std::string& got) { return got.find('\n') != got.rfind('\n'); },
                        Deadline(kPatience));
  EXPECT_NE(position.find(".00\n"), std::string::npos) << position;

  const AccessibleNode dial = Located("Image1");
  MoveMouse(dial.CentreX(), dial.CentreY());
  RunToolChecked("xdotool", {"click", "3"});
  // Qt leaves popup menus off the accessibility bus: the operator's keys choose the one item.
  Keys({"Down", "Return"});

  const std::string listening =
      "Listening on " + server + " for rotctld clients (Gpredict, rotctl -m 2).";
  const AccessibleTree dialog =
      WaitForAccessible([&](const AccessibleNode& node) { return node.Name == listening; });
  EXPECT_TRUE(dialog.Named("get_pos").has_value()) << "the tracker's last command is shown";
  ASSERT_TRUE(dialog.Named("Refuse moves from the network (positions are still answered)"));
  const AccessibleNode refuse =
      *dialog.Named("Refuse moves from the network (positions are still answered)");
  Click(refuse.CentreX(), refuse.CentreY());
  EXPECT_TRUE(Eventually(
      [&] { return ReadFile("QV_M_remote.ini").find("moves=refuse") != std::string::npos; }));

  const ToolResult refused = RunTool("rotctl", {"-m", "2", "-r", server, "P", "100", "10"});
  EXPECT_FALSE(refused.Succeeded()) << "the move is refused";
  tracker.Send("p\n");
  const std::string still =
      tracker.ReadUntil([](const std::string& got) { return got.find('\n') != got.rfind('\n'); },
                        Deadline(kPatience));
  EXPECT_NE(still.find(".00\n"), std::string::npos) << "positions are still answered: " << still;
  EXPECT_EQ(Commands(Wire()).size(), 1u) << "nothing went out after the refusal";
}

}  // namespace
