#include "tests/package/DebianPackage.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "tests/journeys/ToolRun.h"

namespace {

std::string withoutNewline(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

}  // namespace

std::string PackagePath() {
  const std::string architecture = withoutNewline(RunToolChecked("dpkg", {"--print-architecture"}));
  return std::string(AZIMARA_PACKAGE_DIR) + "/azimara-m_" + AZIMARA_VERSION + "_" + architecture +
         ".deb";
}

std::string LintianReportPath() { return std::string(AZIMARA_PACKAGE_DIR) + "/lintian.txt"; }

std::string ControlField(const std::string& field) {
  return withoutNewline(RunToolChecked("dpkg-deb", {"--field", PackagePath(), field}));
}

std::vector<std::string> DependedPackages(const std::string& depends) {
  std::vector<std::string> packages;
  std::string name;
  bool inName = true;
  for (const char c : depends + ",") {
    if (c == ',' || c == '|') {
      if (!name.empty()) packages.push_back(name);
      name.clear();
      inName = true;
    } else if (c == ' ' || c == '(' || c == ':') {
      if (!name.empty()) inName = false;
    } else if (inName) {
      name += c;
    }
  }
  return packages;
}

ThrowAwayRoot::ThrowAwayRoot() : root_(directory_.Path("root")) {
  const std::string admin = root_ + "/var/lib/dpkg";
  std::filesystem::create_directories(admin + "/info");
  std::filesystem::create_directories(admin + "/updates");
  std::ofstream(admin + "/status").flush();
  // The root holds no libraries: the panel runs on this machine's.
  const ToolResult install =
      RunTool("dpkg", {"--root=" + root_, "--force-depends", "--install", PackagePath()});
  if (!install.Succeeded()) throw std::runtime_error("dpkg --install failed:\n" + install.Output);
}

std::vector<std::string> ThrowAwayRoot::ListedPaths() const {
  return lines(RunToolChecked("dpkg", {"--root=" + root_, "--listfiles", "azimara-m"}));
}

std::string ThrowAwayRoot::Status() const {
  return RunToolChecked("dpkg-query",
                        {"--root=" + root_, "--show", "--showformat=${Status}", "azimara-m"});
}
