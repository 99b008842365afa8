// The system line of the event log names the kernel as uname reports it.

#include <gtest/gtest.h>
#include <sys/utsname.h>

#include "serial/OsDescription.h"

TEST(OsDescription, NamesTheKernelAndItsRelease) {
  utsname names{};
  ASSERT_EQ(uname(&names), 0);
  const std::string description = OsDescription();
  EXPECT_EQ(description.rfind(names.sysname, 0), 0u) << description;
  EXPECT_NE(description.find(names.release), std::string::npos) << description;
}
