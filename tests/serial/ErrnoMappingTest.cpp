// Operating-system errors as the serial layer's codes.

#include <gtest/gtest.h>

#include <cerrno>

#include "serial/ErrnoMapping.h"

namespace {

TEST(ErrnoMapping, MissingDevicesAndUnreachableServersAreNoSuchPortHeldOnesInUse) {
  struct Row {
    int error;
    int32_t code;
  } const rows[] = {
      {ENOENT, 2},      {ENXIO, 2},        {ENODEV, 2},      {ENOTTY, 2},       {EIO, 2},
      {EBUSY, 5},       {EAGAIN, 5},       {EWOULDBLOCK, 5}, {EACCES, EACCES},  {EPERM, EACCES},
      {EINVAL, EINVAL}, {EMFILE, EMFILE},  {ENOMEM, ENOMEM}, {ECONNREFUSED, 2}, {ETIMEDOUT, 2},
      {ENETUNREACH, 2}, {EHOSTUNREACH, 2}, {ENETDOWN, 2},    {EHOSTDOWN, 2},    {EADDRNOTAVAIL, 2},
  };
  for (const Row& row : rows) EXPECT_EQ(SioErrorOfErrno(row.error), row.code) << row.error;
}

TEST(ErrnoMapping, APermissionProblemIsNeverMistakenForAPortInUse) {
  EXPECT_NE(SioErrorOfErrno(EACCES), 5);
  EXPECT_NE(SioErrorOfErrno(EPERM), 5);
}

}  // namespace
