#include <new>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/parallel_backend.h"

namespace gw::parallel_backend {

int processorCount() { return int(std::thread::hardware_concurrency()); }

struct Group::Impl {
  std::vector<std::thread> threads;
};

Group::Group() : impl_(new Impl) {}
Group::~Group() { join(); }

bool Group::start(const std::function<void()>& work) {
  try {
    impl_->threads.emplace_back(work);
    return true;
  } catch (const std::system_error&) {
    return false;
  } catch (const std::bad_alloc&) {
    return false;
  }
}

void Group::join() {
  for (std::thread& t : impl_->threads)
    if (t.joinable()) t.join();
  impl_->threads.clear();
}

}  // namespace gw::parallel_backend
