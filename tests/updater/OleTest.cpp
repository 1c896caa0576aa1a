#include <gtest/gtest.h>
#include "Win32.h"
TEST(Ole, Placeholder) { EXPECT_EQ(SysStringLen(nullptr), 0u); }
