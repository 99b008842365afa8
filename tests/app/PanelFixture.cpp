#include "tests/app/PanelFixture.h"

#include <unistd.h>

#include <climits>
#include <filesystem>

#include "app/BlockingPause.h"
#include "app/JpegPicture.h"
#include "app/ProcessEnd.h"
#include "tests/support/FileBytes.h"

namespace {

const std::string kResources = AZIMARA_RESOURCES_DIR;

std::string currentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) != nullptr ? buffer : "/";
}

}  // namespace

PanelTest::PanelTest() : previousDirectory_(currentDirectory()) {
  for (const char* picture : {"Windrose_AZ.jpg", "Windrose_EL.jpg"}) {
    std::filesystem::copy_file(kResources + "/" + picture, Path(picture));
  }
  // COM1 leads nowhere unless a test links it to a simulator: no test opens a real port.
  std::filesystem::create_symlink(Path("no-such-port"), Path("COM1"));
  // Nor does the network server listen unless a test turns it on: port 4533 may be taken.
  WriteFile("QV_M_remote.ini", "enabled=off\r\n");
  if (chdir(Path(".").c_str()) != 0) ADD_FAILURE() << "cannot enter " << Path(".");
  SetMessageBoxHandler([this](MessageBoxKind kind, const QString& text) {
    messages.push_back({kind, text});
  });
  SetBlockingPause([this](std::chrono::milliseconds pause) { pauses.push_back(pause); });
  SetProcessEnd([this] { ++processEnds; });
}

PanelTest::~PanelTest() {
  SetMessageBoxHandler(nullptr);
  SetBlockingPause(nullptr);
  SetProcessEnd(nullptr);
  if (chdir(previousDirectory_.c_str()) != 0) ADD_FAILURE() << "cannot go back";
}

void PanelTest::WriteFile(const std::string& name, const std::string& bytes) const {
  WriteBytes(Path(name), bytes);
}

std::string PanelTest::ReadFile(const std::string& name) const { return ReadBytes(Path(name)); }

void PanelTest::RemoveFile(const std::string& name) const { std::filesystem::remove(Path(name)); }

void PanelTest::DanglePortLink(const std::string& name) const {
  RemoveFile(name);
  std::filesystem::create_symlink(Path(name + ".gone"), Path(name));
}

void PanelTest::CopyLanguageFile() const {
  std::filesystem::copy_file(kResources + "/QV_M_language.csv", Path("QV_M_language.csv"),
                             std::filesystem::copy_options::overwrite_existing);
}

void PanelTest::WriteSettings(const std::vector<std::string>& lines) const {
  std::string bytes;
  for (const std::string& line : lines) bytes += line + "\r\n";
  WriteFile("QV_M.ini", bytes);
}

std::vector<std::string> PanelTest::SettingsLines() const {
  const std::string bytes = ReadFile("QV_M.ini");
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    lines.push_back(bytes.substr(start, end - start));
  }
  return lines;
}

std::unique_ptr<TForm1> PanelTest::StartPanel() {
  messages.clear();
  return std::make_unique<TForm1>();
}

std::vector<QString> PanelTest::Messages(MessageBoxKind kind) const {
  std::vector<QString> texts;
  for (const ShownMessage& message : messages) {
    if (message.Kind == kind) texts.push_back(message.Text);
  }
  return texts;
}

QString ReadOut(int position) { return QString::number(position) + QStringLiteral("°"); }

QImage PictureFile(const std::string& path) { return LoadJpegPicture(path); }

QImage Shown(QWidget* control) {
  return control->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

bool SamePixels(const QImage& a, const QImage& b) {
  return a.size() == b.size() &&
         a.convertToFormat(QImage::Format_RGB32) == b.convertToFormat(QImage::Format_RGB32);
}
