// Operating-system errors as the serial layer's codes.

#include <gtest/gtest.h>

#include <cerrno>

#include "serial/ErrnoMapping.h"

namespace {

struct Row {
  int error;
  int32_t opening;
  int32_t open;
};

// Opening names what a failure means for the port; an open device's
// failures keep the system's own number.
constexpr Row kRows[] = {
    {ENOENT, 2, ENOENT},
    {ENXIO, 2, ENXIO},
    {ENODEV, 2, ENODEV},
    {ENOTTY, 2, ENOTTY},
    {EIO, 2, EIO},
    {EBUSY, 5, EBUSY},
    {EAGAIN, 5, EAGAIN},
    {EWOULDBLOCK, 5, EWOULDBLOCK},
    {EACCES, EACCES, EACCES},
    {EPERM, EACCES, EACCES},
    {EINVAL, EINVAL, EINVAL},
    {EMFILE, EMFILE, EMFILE},
    {ENOMEM, ENOMEM, ENOMEM},
};

TEST(ErrnoMapping, OpeningNamesMissingAndHeldDevicesAnOpenDeviceKeepsTheSystemsNumber) {
  for (const Row& row : kRows) {
    EXPECT_EQ(SioErrorOfErrno(row.error), row.opening) << row.error;
    EXPECT_EQ(SioErrorOfErrno(row.error, ErrnoContext::Open), row.open) << row.error;
  }
}

TEST(ErrnoMapping, APermissionProblemIsNeverMistakenForAPortInUse) {
  EXPECT_NE(SioErrorOfErrno(EACCES), 5);
  EXPECT_NE(SioErrorOfErrno(EPERM), 5);
}

}  // namespace
