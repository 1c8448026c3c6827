#include <windows.h>

#include <vector>

#include "platform/parallel_backend.h"

namespace gw::parallel_backend {
namespace {

DWORD WINAPI runWork(LPVOID parameter) {
  (*static_cast<const std::function<void()>*>(parameter))();
  return 0;
}

}  // namespace

int processorCount() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return int(info.dwNumberOfProcessors);
}

struct Group::Impl {
  std::vector<HANDLE> threads;
  std::vector<std::function<void()>*> works;
};

Group::Group() : impl_(new Impl) {}
Group::~Group() { join(); }

bool Group::start(const std::function<void()>& work) {
  auto* copy = new (std::nothrow) std::function<void()>(work);
  if (!copy) return false;
  HANDLE thread = CreateThread(nullptr, 0, runWork, copy, 0, nullptr);
  if (!thread) {
    delete copy;
    return false;
  }
  try {
    impl_->threads.push_back(thread);
    impl_->works.push_back(copy);
  } catch (...) {
    // Not tracked, so wait for it here rather than lose it.
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    delete copy;
  }
  return true;
}

void Group::join() {
  for (HANDLE thread : impl_->threads) {
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
  }
  for (auto* work : impl_->works) delete work;
  impl_->threads.clear();
  impl_->works.clear();
}

}  // namespace gw::parallel_backend
