#include <gtest/gtest.h>

#include <string>

#include "remote/AddressAllowList.h"

namespace {

struct AllowCase {
  const char* list;
  const char* address;
  bool allowed;
};

TEST(AddressAllowList, AllowsTheAddressesAndPrefixesListed) {
  const AllowCase cases[] = {
      {"192.168.1.7", "192.168.1.7", true},
      {"192.168.1.7", "192.168.1.8", false},
      {"192.168.1.0/24", "192.168.1.200", true},
      {"192.168.1.0/24", "192.168.2.1", false},
      {"10.0.0.0/8, 192.168.1.7", "10.200.3.4", true},
      {"10.0.0.0/8 192.168.1.7", "192.168.1.7", true},
      {"0.0.0.0/0", "8.8.8.8", true},
      {"192.168.1.7", "::ffff:192.168.1.7", true},
      {"fd00::/8", "fd12::1", true},
      {"fd00::/8", "fe80::1", false},
      {"2001:db8::1", "2001:db8::1", true},
      {"192.168.1.0/24", "fd00::1", false},
      {"", "127.0.0.1", false},
      {"192.168.1.7", "not an address", false},
  };
  for (const AllowCase& c : cases) {
    SCOPED_TRACE(std::string(c.list) + " / " + c.address);
    std::string reason;
    const std::optional<AddressAllowList> list = AddressAllowList::Parse(c.list, reason);
    ASSERT_TRUE(list.has_value()) << reason;
    EXPECT_EQ(list->Allows(c.address), c.allowed);
  }
}

TEST(AddressAllowList, AListWithAnEntryThatIsNoAddressSaysWhich) {
  for (const auto& [text, said] :
       {std::pair{"192.168.1.7, shack-pi", "\"shack-pi\" is no IPv4 or IPv6 address"},
        std::pair{"192.168.1.0/33", "\"192.168.1.0/33\" has no prefix length from 0 to 32"},
        std::pair{"fd00::/x", "\"fd00::/x\" has no prefix length from 0 to 128"},
        std::pair{"10.0.0.0/", "\"10.0.0.0/\" has no prefix length from 0 to 32"}}) {
    std::string reason;
    EXPECT_FALSE(AddressAllowList::Parse(text, reason).has_value()) << text;
    EXPECT_EQ(reason, said);
  }
}

TEST(AddressAllowList, LoopbackIsWhatNeverLeavesTheMachine) {
  EXPECT_TRUE(IsLoopbackAddress("127.0.0.1"));
  EXPECT_TRUE(IsLoopbackAddress("127.1.2.3"));
  EXPECT_TRUE(IsLoopbackAddress("::1"));
  EXPECT_TRUE(IsLoopbackAddress("::ffff:127.0.0.1"));
  EXPECT_FALSE(IsLoopbackAddress("0.0.0.0"));
  EXPECT_FALSE(IsLoopbackAddress("::"));
  EXPECT_FALSE(IsLoopbackAddress("192.168.1.7"));
}

}  // namespace
