// gs232sim: a Yaesu GS-232B rotator controller on a pseudo-terminal. See --help.

#include <exception>
#include <iostream>
#include <string_view>
#include <vector>

#include "tools/gs232sim/SimulatorLoop.h"
#include "tools/gs232sim/SimulatorOptions.h"

int main(int argc, char** argv) {
  SimulatorOptions options;
  try {
    options = ParseSimulatorOptions(std::vector<std::string_view>(argv + 1, argv + argc));
  } catch (const OptionError& error) {
    std::cerr << "gs232sim: " << error.what() << "\nTry 'gs232sim --help'.\n";
    return 2;
  }
  if (options.help) {
    std::cout << SimulatorHelpText();
    return std::cout.flush() ? 0 : 1;
  }
  try {
    SimulatorLoop simulator(options);
    simulator.Run();
    return 0;
  } catch (const std::exception& error) {
    std::cerr << "gs232sim: " << error.what() << '\n';
    return 1;
  }
}
