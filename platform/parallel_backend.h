// The threads behind parallelFor: std::thread natively, CreateThread in the
// DLL (whose runtime has no std::thread).
#pragma once

#include <functional>
#include <memory>

namespace gw::parallel_backend {

int processorCount();

// Threads started by start() run `work` and are all waited for by join() or
// on destruction.
class Group {
 public:
  Group();
  ~Group();
  Group(const Group&) = delete;
  Group& operator=(const Group&) = delete;
  // False when the thread could not be started.
  bool start(const std::function<void()>& work);
  void join();

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace gw::parallel_backend
