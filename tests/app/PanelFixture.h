#pragma once
// A panel started for a test in a start-up directory of its own, with every message box,
// blocking pause and the process end recorded instead of carried out.

#include <gtest/gtest.h>

#include <QImage>
#include <QString>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "app/Form1.h"
#include "app/MessageBoxes.h"
#include "tests/support/TemporaryDirectory.h"

struct ShownMessage {
  MessageBoxKind Kind;
  QString Text;
};

// The exact text of the box shown when the language file is missing.
inline const QString kLanguageFileMissing =
    QStringLiteral("Language-file \"QV_M_language.csv\" not found !");

class PanelTest : public testing::Test {
 protected:
  // A fresh directory holding the shipped dial pictures becomes the current directory.
  PanelTest();
  ~PanelTest() override;

  std::string Path(const std::string& name) const { return directory_.Path(name); }
  void WriteFile(const std::string& name, const std::string& bytes) const;
  std::string ReadFile(const std::string& name) const;
  void RemoveFile(const std::string& name) const;
  // Points the link name at a file nobody makes, as a killed simulator's link dangles, but not
  // at the dead terminal's path: the kernel may give that number at once to a terminal of a
  // test running beside this one, which the panel's retries would then open.
  void DanglePortLink(const std::string& name) const;
  void CopyLanguageFile() const;
  // A settings file with these nine lines, each ended by CR LF.
  void WriteSettings(const std::vector<std::string>& lines) const;
  // The lines of the settings file without their CR LF.
  std::vector<std::string> SettingsLines() const;

  // Creates the window in the test's directory (FormCreate runs). Messages shown so far are
  // forgotten first.
  std::unique_ptr<TForm1> StartPanel();

  std::vector<QString> Messages(MessageBoxKind kind) const;

  std::vector<ShownMessage> messages;
  std::vector<std::chrono::milliseconds> pauses;
  int processEnds = 0;

 private:
  TemporaryDirectory directory_;
  std::string previousDirectory_;
};

// The read-out text of a position, "330°".
QString ReadOut(int position);

// The decoded picture file name of the test's directory.
QImage PictureFile(const std::string& path);

// What control shows, drawn by itself (siblings on top of it left out).
QImage Shown(QWidget* control);

// True when the two pictures have the same size and the same colour at every pixel.
bool SamePixels(const QImage& a, const QImage& b);
