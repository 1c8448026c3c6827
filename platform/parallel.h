// Runs independent pieces of work on a few threads and waits for them all.
// Work that must stay in order (host callbacks, appending frames, writing a
// file) stays on the caller's thread; only the pure part of each piece runs
// here, so the results are the same whatever the number of threads.
//
//   std::vector<Coded> out(n);
//   gw::parallelFor(n, [&](size_t i) { out[i] = code(in[i]); });
#pragma once

#include <cstddef>
#include <functional>

namespace gw {

// The threads work is spread over: $GLYPHWRIGHT_THREADS when it is a number
// 1..16, else the processors (at most 8), at least 1.
int workerCount();

// Calls task(i) once for every i in [0, count), from up to workerCount()
// threads, the caller's among them, and returns when every call has
// returned. Tasks must not throw. When a thread cannot be started the
// remaining work runs on the threads there are.
void parallelFor(size_t count, const std::function<void(size_t)>& task);

}  // namespace gw
