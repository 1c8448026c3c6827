// Walks the failure paths of an operation that makes a block: the operation
// runs once with each of its first `attempts` allocations failing, whatever
// it returns is freed, and no block may outlive the attempt.
#pragma once

#include <gtest/gtest.h>

#include "platform/memory.h"

// Returns how many attempts made nothing (so a test can check the failures
// were really reached). `what` labels the failures.
template <typename Make>
int expectNoLeaksWhenAllocationsFail(int attempts, Make make, const std::string& what = "") {
  int failed = 0;
  for (int n = 0; n < attempts; ++n) {
    long before = gw::testing::liveBlockCount();
    gw::testing::failAllocationsAfter(n);
    gw::MemHandle made = make();
    gw::testing::failAllocationsAfter(-1);
    failed += made == 0;
    gw::memFree(made);
    EXPECT_EQ(gw::testing::liveBlockCount(), before) << what << " failing allocation " << n;
  }
  return failed;
}
