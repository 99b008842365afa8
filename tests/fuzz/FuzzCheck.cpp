#include "FuzzCheck.h"

#include <cstdio>
#include <cstdlib>

void Check(bool holds, std::string_view what) {
  if (holds) return;
  std::fprintf(stderr, "broken: %.*s\n", static_cast<int>(what.size()), what.data());
  std::abort();
}
