// Position reports from the simulator on the read-outs, the echo memo and the position log.

#include <QDateTime>
#include <QRegularExpression>
#include <QTest>

#include "app/DiagMode.h"
#include "tests/app/PanelFixture.h"
#include "tests/tools/SimulatorProcess.h"
#include "tests/tools/TestPatience.h"

namespace {

class WindowReplies : public PanelTest {
 protected:
  // A panel polling twice a second, both axes, a simulator at azimuth 123 and elevation 45.
  void start(std::vector<std::string> faults) {
    CopyLanguageFile();
    WriteSettings({"1", "EN", "500", "10", "0", "0", "2", "50", "50"});
    std::vector<std::string> options = {"--link", Path("COM1"), "--az", "123", "--el", "45"};
    options.insert(options.end(), faults.begin(), faults.end());
    simulator = std::make_unique<SimulatorProcess>(options);
    form = StartPanel();
    ASSERT_TRUE(form->SioComPort1.Open());
  }

  bool waitForReport() {
    return QTest::qWaitFor([this] { return form->Label6->text() == "123°"; },
                           static_cast<int>(kPatience.count()));
  }

  QString lastMemoLine() const {
    const QStringList lines = form->Echoes().Text().split('\n');
    return lines.back();
  }

  std::unique_ptr<SimulatorProcess> simulator;
  std::unique_ptr<TForm1> form;
};

const QString kReport = "65 90 61 49 50 51 32 32 69 76 61 48 52 53 13 10 ";

TEST_F(WindowReplies, AReportReachesBothReadOutsAndTheMemo) {
  start({});
  ASSERT_TRUE(waitForReport());
  EXPECT_EQ(form->Label7->text(), "45°");
  EXPECT_EQ(form->Position1(), 123);
  EXPECT_EQ(form->Position2(), 45);
  EXPECT_EQ(form->Label6->size(), form->Label6->sizeHint()) << "sized to the new text";
  EXPECT_EQ(lastMemoLine(), kReport);
}

TEST_F(WindowReplies, AReportArrivingInPiecesIsReadWhole) {
  start({"--split", "3", "--split-delay", "20"});
  ASSERT_TRUE(waitForReport());
  EXPECT_EQ(form->Label7->text(), "45°");
  EXPECT_EQ(lastMemoLine(), kReport);
}

TEST_F(WindowReplies, OneLeadingCarriageReturnIsDropped) {
  start({"--leading-cr"});
  ASSERT_TRUE(waitForReport());
  EXPECT_EQ(form->Label7->text(), "45°");
  EXPECT_TRUE(lastMemoLine().startsWith("13 65 90 ")) << lastMemoLine().toStdString();
}

TEST_F(WindowReplies, TheDiagnosticBuildLogsEveryAcceptedReport) {
  start({});
  ASSERT_TRUE(waitForReport());
  const std::string logged = ReadFile("QV_M.log");
  if (!DiagMode) {
    EXPECT_EQ(logged, "") << "no log in the delivered build";
    return;
  }
  // Date and time in the system's formats, then the positions; the time without its zone.
  const QRegularExpression line("^\\S+ \\S.* 123° 45° \\r$");
  const QString zone = QDateTime::currentDateTime().timeZoneAbbreviation();
  const QStringList lines = QString::fromStdString(logged).split('\n', Qt::SkipEmptyParts);
  ASSERT_FALSE(lines.isEmpty());
  for (const QString& entry : lines) {
    EXPECT_TRUE(line.match(entry).hasMatch()) << entry.toStdString();
    EXPECT_FALSE(entry.contains(zone)) << entry.toStdString();
  }
}

TEST_F(WindowReplies, TheMemoKeepsTheLastThousandLines) {
  start({});
  for (int i = 0; i < 1100; ++i) form->Echoes().Append(QString::number(i));
  EXPECT_EQ(form->Echoes().LineCount(), 1000);
  EXPECT_TRUE(form->Echoes().Text().endsWith("\n1099"));
  EXPECT_TRUE(form->Echoes().Text().startsWith("100\n"));
}

TEST_F(WindowReplies, AHiddenMemoGetsItsLinesInOrderWhenShownAndAShownOneAtOnce) {
  start({});
  form->Memo1->hide();
  const int lines = form->Memo1->blockCount();
  form->Echoes().Append("first");
  form->Echoes().Append("second");
  EXPECT_EQ(form->Memo1->blockCount(), lines) << "nothing laid out for a memo nobody sees";
  form->Memo1->show();
  EXPECT_EQ(form->Memo1->blockCount(), lines + 2);
  EXPECT_TRUE(form->Memo1->toPlainText().endsWith("\nfirst\nsecond"));
  form->Echoes().Append("third");
  EXPECT_TRUE(form->Memo1->toPlainText().endsWith("\nsecond\nthird"));
}

}  // namespace
