#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <set>

#include "serial/CheckError.h"
#include "serial/ErrorText.h"
#include "serial/SioExceptions.h"
#include "serial/SystemErrorText.h"

namespace {

TEST(ErrorTextTable, HoldsEveryCodeOnceInOrderOfMagnitude) {
  const auto& table = ErrorTextTable();
  ASSERT_EQ(table.size(), 897u);
  std::set<int32_t> magnitudes;
  for (size_t i = 0; i < table.size(); ++i) {
    const int32_t magnitude = std::abs(table[i].Code);
    EXPECT_TRUE(magnitudes.insert(magnitude).second) << "duplicate " << table[i].Code;
    if (i > 0) {
      EXPECT_LT(std::abs(table[i - 1].Code), magnitude) << "at index " << i;
    }
    EXPECT_LE(table[i].Text.size(), 255u);
  }
  EXPECT_EQ(table.front().Code, 0);
  EXPECT_EQ(table.back().Code, 15742);
}

TEST(ErrorTextTable, EveryEntryIsFoundByItsCodeAndItsNegation) {
  for (const auto& entry : ErrorTextTable()) {
    EXPECT_EQ(ErrorText(entry.Code), entry.Text) << entry.Code;
    EXPECT_EQ(ErrorText(-entry.Code), entry.Text) << entry.Code;
  }
}

TEST(ErrorText, QuotedTextsAndMagnitudeLookup) {
  EXPECT_EQ(ErrorText(0), "OK");
  EXPECT_EQ(ErrorText(-161), "Device read error");
  EXPECT_EQ(ErrorText(-1001), "Bad handle passed to com function");
  EXPECT_EQ(ErrorText(-13868), "No memory");
  EXPECT_EQ(ErrorText(13933), ErrorText(-13933));
  EXPECT_EQ(ErrorText(2001), "ie_BadId - Specified comport doesn't exist");
}

TEST(ErrorText, CodesWithoutEntryTakeTheCleanedSystemText) {
  const std::string text = ErrorText(-87);
  const std::string system = SystemErrorText(87);
  ASSERT_GT(system.size(), 10u);
  EXPECT_EQ(text.substr(0, 10), system.substr(0, 10));
  EXPECT_EQ(text.find("  "), std::string::npos);
  for (const char c : text) EXPECT_GE(static_cast<unsigned char>(c), ' ');
  EXPECT_EQ(ErrorText(-30000), "");  // no entry and no system text
}

TEST(SearchMiddle, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(SearchMiddle(0, 896), 448);
  EXPECT_EQ(SearchMiddle(0, 1), 0);
  EXPECT_EQ(SearchMiddle(1, 2), 2);
  EXPECT_EQ(SearchMiddle(2, 3), 2);
  EXPECT_EQ(SearchMiddle(5, 6), 6);
}

TEST(CheckError, ReturnsSuccessAndStatusCodes) {
  EXPECT_EQ(CheckError(false, 0), 0);
  EXPECT_EQ(CheckError(false, 4101), 4101);
  EXPECT_EQ(CheckError(false, 13933), 13933);
}

TEST(CheckError, ReturnsNegativeCodesWhileTheComponentLoads) {
  EXPECT_EQ(CheckError(true, -2008), -2008);
  EXPECT_EQ(CheckError(true, -87), -87);
}

// Runs CheckError on code and hands the exception, caught as Expected, to check.
template <typename Expected, typename Check>
void expectRaised(int32_t code, Check check) {
  try {
    CheckError(false, code);
    ADD_FAILURE() << "nothing raised for " << code;
  } catch (const Expected& e) {
    check(e);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "unexpected " << typeid(e).name() << " for " << code;
  }
}

TEST(CheckError, OpenResultsRaiseTheirOpenCommLeaves) {
  expectRaised<EAlreadyOpen>(-2008, [](const EAlreadyOpen& e) {
    EXPECT_STREQ(e.what(), "ie_Open - device already open");
    EXPECT_EQ(e.ErrorCode, -2008);
  });
  expectRaised<EOpenComm>(-2001, [](const EOpenComm& e) {
    EXPECT_EQ(typeid(e), typeid(EBadId));
    EXPECT_STREQ(e.what(), "ie_BadId - Specified comport doesn't exist");
  });
}

TEST(CheckError, SystemNumbersRaiseInOutErrorWithThePositiveNumber) {
  expectRaised<EInOutError>(-87, [](const EInOutError& e) {
    EXPECT_EQ(e.ErrorCode, 87);
    EXPECT_EQ(std::string(e.what()), ErrorText(-87));
  });
  expectRaised<EInOutError>(-161, [](const EInOutError& e) {
    EXPECT_STREQ(e.what(), "Device read error");
    EXPECT_EQ(e.ErrorCode, 161);
  });
  expectRaised<EOutOfMemory>(
      -8, [](const EOutOfMemory& e) { EXPECT_STREQ(e.what(), "Insufficient memory"); });
}

TEST(CheckError, UnlistedCodesRaiseThePlainSerialException) {
  for (const int32_t code : {-1, -1001, -3002, -4009, -4021, -163, -100000}) {
    expectRaised<ESioException>(code, [code](const ESioException& e) {
      EXPECT_STREQ(e.what(), "Serial I/O exception") << code;
      EXPECT_EQ(e.ErrorCode, 0) << code;
      EXPECT_EQ(typeid(e), typeid(ESioException)) << code;
    });
  }
}

TEST(CheckError, SharedClassesAndGroups) {
  expectRaised<EInternal>(-7003, [](const EInternal& e) { EXPECT_EQ(e.ErrorCode, -7003); });
  expectRaised<EInternal>(-1006, [](const EInternal& e) { EXPECT_EQ(e.ErrorCode, -1006); });
  expectRaised<EProtocol>(
      -6008, [](const EProtocol& e) { EXPECT_STREQ(e.what(), "Too many errors during protocol"); });
  expectRaised<ETapi>(-13868, [](const ETapi& e) {
    EXPECT_EQ(typeid(e), typeid(ETapiNoMem));
    EXPECT_STREQ(e.what(), "No memory");
  });
  expectRaised<ESerialIO>(-3007,
                          [](const ESerialIO& e) { EXPECT_EQ(typeid(e), typeid(EBufferIsEmpty)); });
  expectRaised<EGeneral>(-1002,
                         [](const EGeneral& e) { EXPECT_EQ(typeid(e), typeid(EBadArgument)); });
  expectRaised<EModem>(-4002, [](const EModem& e) { EXPECT_EQ(e.ErrorCode, -4002); });
}

}  // namespace
