#include <gtest/gtest.h>

#include "machine.h"

TEST(Placeholder, Builds) { sim::Machine m; EXPECT_EQ(m.openHandleCount(), 0u); }
