// The port-selection dialog: what it offers, and a port opened without a
// number asking through it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/ComSelectForm.h"
#include "app/SerialQtHooks.h"
#include "serial/PortAvailability.h"
#include "serial/SioComPort.h"
#include "serial/SioExceptions.h"
#include "tests/serial/support/PseudoTerminal.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TemporaryDirectory.h"

namespace {

constexpr int kPatienceMs = 10000;

class PortChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(symlink(first.SlavePath().c_str(), "COM3"), 0);
    ASSERT_EQ(symlink(second.SlavePath().c_str(), "COM5"), 0);
    ASSERT_EQ(symlink("/dev/no-such-device", "COM7"), 0);
  }

  // Answers the dialog once it is up: selects port (if given) and presses
  // OK, or presses Cancel.
  void AnswerDialog(std::optional<QString> port) {
    QObject::connect(&poll_, &QTimer::timeout, [this, port] {
      auto* form = dynamic_cast<TComSelectForm*>(QApplication::activeModalWidget());
      if (form == nullptr) return;
      poll_.stop();
      if (port) {
        form->PortsComboBox->setCurrentText(*port);
        QTest::mouseClick(form->OkBtn, Qt::LeftButton);
      } else {
        QTest::mouseClick(form->AbortBtn, Qt::LeftButton);
      }
    });
    poll_.start(10);
  }

  PseudoTerminal first;
  PseudoTerminal second;
  TemporaryDirectory dir;
  CurrentDirectory inside{dir.Path()};
  const SerialQtHooks hooks;

 private:
  QTimer poll_;
};

TEST_F(PortChoice, TheDialogOffersTheExistingPortsAndSelectsTheFirst) {
  QStringList expected;
  for (uint16_t n = 1; n <= TComSelectForm::kHighestPort; ++n) {
    if (IsPortAvailable(n)) expected << QStringLiteral("COM%1").arg(n);
  }
  ASSERT_TRUE(expected.contains("COM3"));
  ASSERT_TRUE(expected.contains("COM5"));
  EXPECT_FALSE(expected.contains("COM7"));

  const TComSelectForm form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Select Port"));
  QStringList texts;
  for (const QLabel* label : form.findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains("The configured serial port is not valid."));
  EXPECT_TRUE(texts.contains("Please choose another port."));
  EXPECT_EQ(form.OkBtn->text(), QStringLiteral("OK"));
  EXPECT_TRUE(form.OkBtn->isDefault());
  EXPECT_EQ(form.AbortBtn->text(), QStringLiteral("Cancel"));
  QStringList offered;
  for (int i = 0; i < form.PortsComboBox->count(); ++i) offered << form.PortsComboBox->itemText(i);
  EXPECT_EQ(offered, expected);
  EXPECT_EQ(form.PortsComboBox->currentIndex(), 0);
  EXPECT_EQ(form.ChosenPort(), expected.front().mid(3).toUShort());
  form.PortsComboBox->setCurrentText("COM5");
  EXPECT_EQ(form.ChosenPort(), 5);
}

TEST_F(PortChoice, APortWithoutANumberOpensTheChosenOne) {
  TSioComPort port;
  std::atomic<int> received{0};
  port.SetOnTriggerAvail([&](TSioCustomComPort* CP, uint16_t Count) {
    for (uint16_t i = 0; i < Count; ++i) CP->ReadChar();
    received += Count;
  });
  AnswerDialog(QStringLiteral("COM5"));
  port.SetOpen(true);
  EXPECT_EQ(port.ComNumber(), 5);
  ASSERT_TRUE(second.Write({'5'}));
  EXPECT_TRUE(QTest::qWaitFor([&] { return received.load() == 1; }, kPatienceMs));
  port.SetOpen(false);
}

TEST_F(PortChoice, CancellingTheDialogLeavesThePortClosed) {
  TSioComPort port;
  AnswerDialog(std::nullopt);
  EXPECT_THROW(port.SetOpen(true), ENoPortSelected);
  EXPECT_FALSE(port.Open());
  EXPECT_EQ(port.ComNumber(), 0);
}

}  // namespace
