// Shows the wait cursor for a scope (a build); the previous cursor comes
// back when it ends. Natively there is no cursor.
#pragma once
namespace gw {
class WaitCursor {
 public:
  WaitCursor();
  ~WaitCursor();
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  void* previous_ = nullptr;
};
}  // namespace gw
