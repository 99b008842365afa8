// Saves the settings file given as the argument over and over, as the panel saves it, until it
// is killed. Numbering goes on from the save the file holds (a fresh file starts at 0); after
// its first save it prints "saving" so its killer knows the loop runs.

#include <cstdio>
#include <exception>

#include "app/SettingsFile.h"
#include "tests/faults/NumberedSettings.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: settings_save_loop <settings file>\n");
    return 2;
  }
  try {
    TSettings settings;
    ReadSettingsFile(argv[1], settings, [](int) {});
    for (int32_t n = settings.Reserved + 1;; ++n) {
      WriteSettingsFile(argv[1], NumberedSettings(n));
      if (n == settings.Reserved + 1) {
        std::puts("saving");
        std::fflush(stdout);
      }
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
}
