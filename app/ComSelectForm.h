#pragma once
// The port-selection dialog "Select Port", shown when a serial port is
// opened without a port number. It offers COM1 to COM50 as far as each
// exists (IsPortAvailable: a port held by another program is offered too),
// the first one selected.

#include <QDialog>
#include <cstdint>
#include <optional>

class QComboBox;
class QPushButton;

class TComSelectForm : public QDialog {
 public:
  static constexpr uint16_t kHighestPort = 50;

  explicit TComSelectForm(QWidget* parent = nullptr);

  // The selected port's number (the entry's text after "COM"); none when
  // nothing is offered.
  std::optional<uint16_t> ChosenPort() const;

  // Shows the dialog modally: the chosen port number on OK, none on Cancel
  // or when no port is offered. The application's port prompt.
  static std::optional<uint16_t> AskForPort();

  QComboBox* PortsComboBox;
  QPushButton* OkBtn;
  QPushButton* AbortBtn;
};
