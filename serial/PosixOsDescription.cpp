#include <sys/utsname.h>

#include "serial/OsDescription.h"

std::string OsDescription() {
  utsname names{};
  if (uname(&names) != 0) return "unknown";
  return std::string(names.sysname) + ' ' + names.release + ' ' + names.version + ' ' +
         names.machine;
}
