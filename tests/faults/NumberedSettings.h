#pragma once
// The settings the save loop writes on its n-th save: every field changes with n, and with it
// the length of its line, so a file mixed from two saves or cut short cannot pass for a
// whole one. Reserved holds n itself.

#include <cstdint>

#include "app/Settings.h"

TSettings NumberedSettings(int32_t n);
