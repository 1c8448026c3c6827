// Work spread over threads: every piece runs once, the caller's order is kept
// where it matters (frames appended and progress reported in order), and a
// failed frame leaves nothing behind.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <vector>

#include "effects/effect_context.h"
#include "effects/frame_sequence.h"
#include "platform/bitmap.h"
#include "platform/parallel.h"
#include "protocol/frame_store.h"

namespace gw {
namespace {

struct ThreadCount {
  explicit ThreadCount(const char* n) { ::setenv("GLYPHWRIGHT_THREADS", n, 1); }
  ~ThreadCount() { ::unsetenv("GLYPHWRIGHT_THREADS"); }
};

TEST(ParallelFor, RunsEveryIndexExactlyOnceOnUpToTheThreadsAsked) {
  for (const char* n : {"1", "2", "5"}) {
    ThreadCount threads(n);
    EXPECT_EQ(workerCount(), std::atoi(n));
    for (size_t count : {size_t(0), size_t(1), size_t(3), size_t(1000)}) {
      std::vector<std::atomic<int>> runs(count);
      parallelFor(count, [&](size_t i) { runs[i]++; });
      for (size_t i = 0; i < count; ++i) ASSERT_EQ(runs[i].load(), 1) << n << " threads, index " << i;
    }
  }
}

TEST(ParallelFor, ThreadCountsOutsideTheRangeFallBackToTheProcessors) {
  for (const char* bad : {"0", "17", "two", ""}) {
    ThreadCount threads(bad);
    EXPECT_GE(workerCount(), 1) << bad;
    EXPECT_LE(workerCount(), 8) << bad;
  }
}

// A frame whose first pixel records its number, rendered slowly for early
// frames so later ones finish first.
MemHandle numberedFrame(int32_t k) {
  if (k % 3 == 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  MemHandle h = bitmapCreateTrueColour(4, 2, 24);
  if (!h) return 0;
  MemLock lock(h);
  BitmapView::of(lock).setPixel(0, 0, uint32_t(k));
  return h;
}

struct Reports {
  std::vector<std::pair<int32_t, int32_t>> calls;
  std::thread::id thread;
  bool sameThread = true;
  static void report(void* self, int32_t index, int32_t count) {
    auto* r = static_cast<Reports*>(self);
    r->calls.emplace_back(index, count);
    r->sameThread = r->sameThread && std::this_thread::get_id() == r->thread;
  }
};

TEST(AppendFrames, KeepsFrameOrderDelaysAndProgressWhateverTheThreads) {
  ThreadCount threads("3");
  FrameStore store;
  Reports reports;
  reports.thread = std::this_thread::get_id();
  ProgressSink sink{&Reports::report, &reports};
  EffectContext ctx;
  ctx.frameStore = &store;
  ctx.progress = &sink;
  ASSERT_TRUE(appendFrames(ctx, 20, numberedFrame, [](int32_t k) { return 100 + k; }));
  ASSERT_EQ(store.count, 20u);
  for (uint32_t k = 0; k < 20; ++k) {
    FrameRecord r;
    ASSERT_TRUE(frameStoreGet(store, k, &r));
    EXPECT_EQ(r.delay, int32_t(100 + k));
    MemLock lock(r.image);
    EXPECT_EQ(BitmapView::of(lock).getPixel(0, 0), int64_t(k));
    EXPECT_EQ(reports.calls[k], std::make_pair(int32_t(k), int32_t(20)));
  }
  EXPECT_TRUE(reports.sameThread);
  frameStoreFree(store);
}

TEST(AppendFrames, AFailedFrameStopsTheBuildAndFreesWhatWasRendered) {
  ThreadCount threads("2");
  FrameStore store;
  EffectContext ctx;
  ctx.frameStore = &store;
  const long before = testing::liveBlockCount();
  bool ok = appendFrames(
      ctx, 12, [](int32_t k) { return k == 6 ? MemHandle(0) : numberedFrame(k); }, [](int32_t) { return 5; });
  EXPECT_FALSE(ok);
  EXPECT_EQ(store.count, 6u);
  frameStoreFree(store);
  EXPECT_EQ(testing::liveBlockCount(), before);
}

}  // namespace
}  // namespace gw
