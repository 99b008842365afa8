// What Windows itself says: the system's error texts and its version.

#include <gtest/gtest.h>

#include <cctype>

#include "serial/ErrorText.h"
#include "serial/OsDescription.h"
#include "serial/SystemErrorText.h"

TEST(Win32SystemTexts, AnErrorWithoutEntryTakesTheSystemMessageOnOneLine) {
  // The words differ between Windows and Wine; every message ends in a line
  // break, which becomes a single blank.
  const std::string message = SystemErrorText(87);
  ASSERT_GT(message.size(), 2u);
  ASSERT_EQ(message.substr(message.size() - 2), "\r\n");
  EXPECT_EQ(ErrorText(-87), message.substr(0, message.size() - 2) + " ");
  EXPECT_EQ(SystemErrorText(30000), "");
}

TEST(Win32SystemTexts, TheLogNamesWindowsAndItsVersion) {
  const std::string description = OsDescription();
  ASSERT_EQ(description.rfind("Windows ", 0), 0u) << description;
  EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(description[8]))) << description;
  EXPECT_NE(description.find(" build "), std::string::npos) << description;
}
