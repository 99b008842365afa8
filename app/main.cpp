#include <cstdio>

// Placeholder entry point until the main window lands.
int main() {
  std::puts("Azimara M V1.7: the main window is not built yet; run ./run for the simulator.");
  return 0;
}
