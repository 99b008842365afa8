#include <windows.h>

#include "serial/OsDescription.h"

namespace {

using RtlGetVersionCall = LONG(WINAPI*)(OSVERSIONINFOW*);

}  // namespace

std::string OsDescription() {
  // RtlGetVersion tells the true version; GetVersionEx tells a program
  // without a compatibility manifest that it runs on Windows 8.
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  if (ntdll == nullptr) return "Windows";
  const auto getVersion = reinterpret_cast<RtlGetVersionCall>(
      reinterpret_cast<void (*)()>(GetProcAddress(ntdll, "RtlGetVersion")));
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof(version);
  if (getVersion == nullptr || getVersion(&version) != 0) return "Windows";
  return "Windows " + std::to_string(version.dwMajorVersion) + '.' +
         std::to_string(version.dwMinorVersion) + " build " + std::to_string(version.dwBuildNumber);
}
