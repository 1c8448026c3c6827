#include "platform/parallel.h"

#include <atomic>
#include <cstdlib>
#include <vector>

#include "platform/parallel_backend.h"

namespace gw {

int workerCount() {
  if (const char* forced = std::getenv("GLYPHWRIGHT_THREADS")) {
    char* end = nullptr;
    long n = std::strtol(forced, &end, 10);
    if (end != forced && *end == '\0' && n >= 1 && n <= 16) return int(n);
  }
  int n = parallel_backend::processorCount();
  return n < 1 ? 1 : n > 8 ? 8 : n;
}

void parallelFor(size_t count, const std::function<void(size_t)>& task) {
  if (count == 0) return;
  const size_t threads = std::min<size_t>(size_t(workerCount()), count);
  if (threads <= 1) {
    for (size_t i = 0; i < count; ++i) task(i);
    return;
  }
  // Each thread takes the next undone index until none is left, so a slow
  // piece does not hold the others back.
  std::atomic<size_t> next{0};
  auto worker = [&] {
    for (size_t i = next.fetch_add(1); i < count; i = next.fetch_add(1)) task(i);
  };
  parallel_backend::Group group;
  for (size_t t = 1; t < threads; ++t)
    if (!group.start(worker)) break;
  worker();
  group.join();
}

}  // namespace gw
