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

// Walks the failure paths of an operation that keeps nothing when it is done
// (a build: its frames go to the host and are freed): it runs with its n-th
// allocation (and every later one), or its n-th lock alone, failing, for
// n = 0, 1, .... Every attempt must leave no block behind and free none
// twice; `failed` is called after each failed attempt to check what it
// reported. Allocations are walked until an attempt runs through. A failed
// lock may be one the operation can do without, so every lock of a clean
// run is walked (at most `maxAttempts`) but its last `cleanupLocks`: those of
// the final cleanup, where a block whose handles cannot be read cannot be
// freed. Returns the number of attempts that failed.
enum class FailureKind { kAllocation, kLock };

template <typename Run, typename Failed>
int expectCleanFailures(FailureKind kind, int maxAttempts, Run run, Failed failed, long cleanupLocks = 0) {
  if (kind == FailureKind::kLock) {
    const long before = gw::testing::lockCount();
    EXPECT_TRUE(run()) << "the operation fails with nothing failing";
    const long locks = gw::testing::lockCount() - before - cleanupLocks;
    EXPECT_GT(locks, 0);
    if (locks < maxAttempts) maxAttempts = int(locks);
  }
  auto failAfter = [kind](int n) {
    if (kind == FailureKind::kAllocation) gw::testing::failAllocationsAfter(n);
    else gw::testing::failLocksAfter(n);
  };
  const char* what = kind == FailureKind::kAllocation ? "allocation" : "lock";
  int failures = 0;
  for (int n = 0; n < maxAttempts; ++n) {
    long blocks = gw::testing::liveBlockCount();
    long stale = gw::testing::staleFreeCount();
    failAfter(n);
    bool ok = run();
    failAfter(-1);
    EXPECT_EQ(gw::testing::liveBlockCount(), blocks) << "blocks left behind, failing " << what << " " << n;
    EXPECT_EQ(gw::testing::staleFreeCount(), stale) << "a block freed twice, failing " << what << " " << n;
    if (ok && kind == FailureKind::kAllocation) return failures;
    if (ok) continue;
    ++failures;
    failed(n);
  }
  if (kind == FailureKind::kAllocation) ADD_FAILURE() << "still failing after " << maxAttempts << " allocation failures";
  return failures;
}
