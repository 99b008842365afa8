// What the package holds and says: its name and fields, its files as dpkg installs them, the
// libraries behind its dependencies, and lintian's report.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "tests/journeys/ToolRun.h"
#include "tests/package/DebianPackage.h"
#include "tests/support/FileBytes.h"

namespace {

namespace fs = std::filesystem;

// The programs the package installs.
const std::vector<std::string> kPrograms = {"usr/bin/gs232sim", "usr/libexec/azimara-m/azimara"};

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

// The sonames an ELF file needs, as readelf shows them ("Shared library: [libc.so.6]").
std::vector<std::string> neededLibraries(const std::string& path) {
  std::vector<std::string> needed;
  const std::regex entry(R"(\(NEEDED\)\s+Shared library: \[([^\]]+)\])");
  for (const std::string& line : lines(RunToolChecked("readelf", {"--dynamic", path}))) {
    std::smatch match;
    if (std::regex_search(line, match, entry)) needed.push_back(match[1]);
  }
  return needed;
}

// The installed packages of this machine that hold a file named soname ("libc6").
std::set<std::string> packagesHolding(const std::string& soname) {
  std::set<std::string> packages;
  const ToolResult search = RunTool("dpkg-query", {"--search", "*/" + soname});
  for (const std::string& line : lines(search.Output)) {
    const std::string owners = line.substr(0, line.find(": "));
    std::istringstream each(owners);
    for (std::string owner; std::getline(each, owner, ',');) {
      owner.erase(0, owner.find_first_not_of(' '));
      packages.insert(owner.substr(0, owner.find(':')));
    }
  }
  return packages;
}

TEST(PackageFields, NameTheProgramItsVersionAndItsPlace) {
  EXPECT_TRUE(fs::is_regular_file(PackagePath())) << PackagePath();
  EXPECT_EQ(ControlField("Package"), "azimara-m");
  EXPECT_EQ(ControlField("Version"), AZIMARA_VERSION) << "debian/changelog and CMakeLists.txt";
  EXPECT_EQ(ControlField("Section"), "hamradio");
  EXPECT_FALSE(ControlField("Description").empty());
}

TEST(PackageFields, TheDependenciesAreThePackagesOfTheLibrariesTheProgramsLink) {
  const ThrowAwayRoot root;
  const std::vector<std::string> depends = DependedPackages(ControlField("Depends"));
  ASSERT_FALSE(depends.empty());
  for (const std::string& program : kPrograms) {
    const std::vector<std::string> needed = neededLibraries(root.Path(program));
    EXPECT_FALSE(needed.empty()) << program;
    for (const std::string& soname : needed) {
      const std::set<std::string> holders = packagesHolding(soname);
      EXPECT_TRUE(std::any_of(holders.begin(), holders.end(),
                              [&](const std::string& holder) {
                                return std::find(depends.begin(), depends.end(), holder) !=
                                       depends.end();
                              }))
          << program << " needs " << soname << ", which no depended package holds";
    }
  }
  // This machine runs the panel, so it has every package the panel depends on.
  for (const std::string& package : depends) {
    const ToolResult status = RunTool("dpkg-query", {"--show", "--showformat=${Status}", package});
    EXPECT_EQ(status.Output, "install ok installed") << package;
  }
}

TEST(PackageContents, DpkgInstallsEveryFileInItsPlace) {
  const ThrowAwayRoot root;
  EXPECT_EQ(root.Status(), "install ok installed");
  const std::vector<std::string> listed = root.ListedPaths();
  const std::vector<std::string> expected = {
      "/usr/bin/azimara-m",
      "/usr/bin/gs232sim",
      "/usr/libexec/azimara-m/azimara",
      "/usr/share/azimara-m/QV_M_language.csv",
      "/usr/share/azimara-m/Windrose_AZ.jpg",
      "/usr/share/azimara-m/Windrose_EL.jpg",
      "/usr/share/applications/azimara-m.desktop",
      "/usr/share/icons/hicolor/32x32/apps/azimara-m.png",
      "/usr/share/icons/hicolor/256x256/apps/azimara-m.png",
      "/usr/share/man/man1/azimara-m.1.gz",
      "/usr/share/man/man1/gs232sim.1.gz",
      "/usr/share/doc/azimara-m/copyright",
      "/usr/share/doc/azimara-m/changelog.gz",
  };
  for (const std::string& path : expected) {
    EXPECT_NE(std::find(listed.begin(), listed.end(), path), listed.end()) << path;
    EXPECT_TRUE(fs::is_regular_file(root.Path(path.substr(1)))) << path;
  }
  EXPECT_EQ(
      ReadBytes(root.Path("usr/share/doc/azimara-m/copyright"))
          .rfind("Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/", 0),
      0u)
      << "a machine-readable copyright file";
}

TEST(PackageContents, TheManualPagesReadWithoutErrors) {
  const ThrowAwayRoot root;
  for (const char* page : {"azimara-m", "gs232sim"}) {
    SCOPED_TRACE(page);
    const std::string path = root.Path("usr/share/man/man1/" + std::string(page) + ".1.gz");
    // man reads the compressed page and prints groff's complaints on its error output, which the
    // shell hands to the pipe.
    const ToolResult shown = RunTool(
        "/bin/sh", {"-c", "LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l \"$0\" 2>&1", path});
    ASSERT_TRUE(shown.Succeeded()) << shown.Output;
    EXPECT_NE(shown.Output.find("NAME"), std::string::npos) << shown.Output;
    EXPECT_NE(shown.Output.find(page), std::string::npos);
    EXPECT_NE(shown.Output.find("Azimara M " AZIMARA_VERSION), std::string::npos)
        << "the page names another version";
    EXPECT_EQ(shown.Output.find("warning"), std::string::npos) << shown.Output;
  }
}

// Lintian's report: "I: azimara-m: tag-name [details]" per finding.
struct Finding {
  char Severity;
  std::string Tag;
  std::string Line;
};

std::vector<Finding> lintianFindings() {
  std::vector<Finding> findings;
  const std::regex finding(R"(^([A-Z]): [a-z0-9.+-]+( [a-z]+)?: ([a-z0-9.+-]+))");
  for (const std::string& line : lines(ReadBytes(LintianReportPath()))) {
    std::smatch match;
    if (std::regex_search(line, match, finding)) {
      findings.push_back({match[1].str()[0], match[3], line});
    }
  }
  return findings;
}

TEST(PackageLintian, ReportsNoErrorOrWarningAndTheReadmeExplainsEveryOtherTag) {
  ASSERT_TRUE(fs::is_regular_file(LintianReportPath()));
  const std::string readme = ReadBytes(AZIMARA_README);
  for (const Finding& finding : lintianFindings()) {
    EXPECT_TRUE(finding.Severity != 'E' && finding.Severity != 'W') << finding.Line;
    EXPECT_NE(readme.find("`" + finding.Tag + "`"), std::string::npos)
        << "README.md does not explain " << finding.Line;
  }
}

}  // namespace
