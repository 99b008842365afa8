#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "tests/install/InstalledTree.h"
#include "tests/support/FileBytes.h"
#include "tests/tools/ChildProcess.h"
#include "tests/tools/TestPatience.h"

namespace {

namespace fs = std::filesystem;

const std::string kSourceDir = AZIMARA_SOURCE_DIR;
const std::string kIconTheme = kDataDir + "/icons/hicolor";
const std::string kManPages = std::string(AZIMARA_INSTALL_MANDIR) + "/man1";

struct InstalledFile {
  std::string path;
  std::string source;  // in the source tree, empty for files the build makes
  bool executable;
};

const std::vector<InstalledFile> kInstalledFiles = {
    {kBinDir + "/azimara-m", "", true},
    {kBinDir + "/gs232sim", "", true},
    {kPanelDir + "/azimara", "", true},
    {kShippedDir + "/QV_M_language.csv", "resources/QV_M_language.csv", false},
    {kShippedDir + "/Windrose_AZ.jpg", "resources/Windrose_AZ.jpg", false},
    {kShippedDir + "/Windrose_EL.jpg", "resources/Windrose_EL.jpg", false},
    {kDataDir + "/applications/azimara-m.desktop", "resources/azimara-m.desktop", false},
    {kIconTheme + "/32x32/apps/azimara-m.png", "resources/azimara.png", false},
    {kIconTheme + "/256x256/apps/azimara-m.png", "resources/azimara_256.png", false},
    {kManPages + "/azimara-m.1", "docs/man/azimara-m.1", false},
    {kManPages + "/gs232sim.1", "docs/man/gs232sim.1", false},
};

bool isExecutable(const std::string& path) {
  return (fs::status(path).permissions() & fs::perms::owner_exec) != fs::perms::none;
}

std::uint32_t bigEndian32(const std::string& bytes, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i)
    value = (value << 8) | static_cast<std::uint8_t>(bytes[offset + i]);
  return value;
}

// A desktop entry's value for key, empty when the key is missing.
std::string desktopValue(const std::string& entry, const std::string& key) {
  std::istringstream lines(entry);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind(key + "=", 0) == 0) return line.substr(key.size() + 1);
  }
  return {};
}

class InstalledFiles : public testing::Test {
 protected:
  InstalledTree tree;
};

TEST_F(InstalledFiles, EachFileIsInItsPlaceAsShipped) {
  for (const InstalledFile& file : kInstalledFiles) {
    SCOPED_TRACE(file.path);
    const std::string path = tree.Path(file.path);
    ASSERT_TRUE(fs::is_regular_file(path));
    EXPECT_EQ(isExecutable(path), file.executable);
    if (!file.source.empty()) {
      EXPECT_EQ(ReadBytes(path), ReadBytes(kSourceDir + "/" + file.source));
    }
  }
}

TEST_F(InstalledFiles, EachIconHasTheSizeItsFolderNames) {
  for (const int size : {32, 256}) {
    SCOPED_TRACE(size);
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    const std::string png = ReadBytes(tree.Path(kIconTheme + "/" + folder + "/apps/azimara-m.png"));
    // Width and height are the first fields of the IHDR chunk, after the 8-byte signature and
    // the chunk's length and type.
    ASSERT_GE(png.size(), 24u);
    ASSERT_EQ(png.substr(12, 4), "IHDR");
    EXPECT_EQ(bigEndian32(png, 16), static_cast<std::uint32_t>(size));
    EXPECT_EQ(bigEndian32(png, 20), static_cast<std::uint32_t>(size));
  }
}

TEST_F(InstalledFiles, TheMenuEntryIsValidAndNamesTheInstalledLauncherAndIcon) {
  const std::string entry = tree.Path(kDataDir + "/applications/azimara-m.desktop");
  if (std::string(DESKTOP_FILE_VALIDATE_PATH).empty()) {
    ADD_FAILURE() << "desktop-file-validate is missing: run scripts/install-deps.sh";
  } else {
    ChildProcess validate(DESKTOP_FILE_VALIDATE_PATH, {entry});
    const std::string output = validate.ReadAll(Deadline(kPatience));
    const std::optional<int> status = validate.Wait(Deadline(kPatience));
    ASSERT_TRUE(status);
    EXPECT_TRUE(WIFEXITED(*status) && WEXITSTATUS(*status) == 0) << output;
    EXPECT_EQ(output.find("error:"), std::string::npos) << output;
    EXPECT_EQ(output.find("warning:"), std::string::npos) << output;
  }
  const std::string text = ReadBytes(entry);
  const std::string launcher = tree.Path(kBinDir + "/" + desktopValue(text, "Exec"));
  EXPECT_TRUE(fs::is_regular_file(launcher) && isExecutable(launcher)) << launcher;
  for (const int size : {32, 256}) {
    const std::string folder = std::to_string(size) + "x" + std::to_string(size);
    EXPECT_TRUE(fs::is_regular_file(
        tree.Path(kIconTheme + "/" + folder + "/apps/" + desktopValue(text, "Icon") + ".png")));
  }
}

}  // namespace
