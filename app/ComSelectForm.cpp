#include "app/ComSelectForm.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "serial/PortAvailability.h"

namespace {

// The entries are "COM" and the number.
constexpr int kPrefixLength = 3;

}  // namespace

TComSelectForm::TComSelectForm(QWidget* parent)
    : QDialog(parent),
      PortsComboBox(new QComboBox(this)),
      OkBtn(new QPushButton(QStringLiteral("OK"), this)),
      AbortBtn(new QPushButton(QStringLiteral("Cancel"), this)) {
  setWindowTitle(QStringLiteral("Select Port"));
  PortsComboBox->setObjectName(QStringLiteral("PortsComboBox"));
  OkBtn->setObjectName(QStringLiteral("OkBtn"));
  AbortBtn->setObjectName(QStringLiteral("AbortBtn"));
  OkBtn->setDefault(true);
  connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
  connect(AbortBtn, &QPushButton::clicked, this, &QDialog::reject);

  for (uint16_t port = 1; port <= kHighestPort; ++port) {
    if (IsPortAvailable(port)) PortsComboBox->addItem(QStringLiteral("COM%1").arg(port));
  }
  PortsComboBox->setCurrentIndex(PortsComboBox->count() > 0 ? 0 : -1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(OkBtn);
  buttons->addWidget(AbortBtn);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("The configured serial port is not valid."), this));
  layout->addWidget(new QLabel(QStringLiteral("Please choose another port."), this));
  layout->addWidget(PortsComboBox);
  layout->addLayout(buttons);
}

std::optional<uint16_t> TComSelectForm::ChosenPort() const {
  bool number = false;
  const uint16_t port = PortsComboBox->currentText().mid(kPrefixLength).toUShort(&number);
  if (!number || port == 0) return std::nullopt;
  return port;
}

std::optional<uint16_t> TComSelectForm::AskForPort() {
  TComSelectForm form;
  if (form.exec() != QDialog::Accepted) return std::nullopt;
  return form.ChosenPort();
}
