#include "ui/file_dialog_size.h"

#include <algorithm>

namespace gw {
namespace {
// Process-wide: a file dialog opens at the size the previous one was left at.
FileDialogSize& remembered() {
  static FileDialogSize size;
  return size;
}
}  // namespace

FileDialogSize rememberedFileDialogSize() { return remembered(); }

void rememberFileDialogSize(FileDialogSize size) { remembered() = size; }

WindowBox fileDialogPlacement(int32_t ownWidth, int32_t ownHeight, int32_t screenWidth, int32_t screenHeight) {
  const FileDialogSize r = remembered();
  WindowBox box{0, 0, ownWidth, ownHeight};
  if (r.width >= kSmallestRememberedSize && r.height >= kSmallestRememberedSize) {
    box.width = std::min(r.width, screenWidth);
    box.height = std::min(r.height, screenHeight);
  }
  box.x = (screenWidth - box.width) / 2;
  box.y = (screenHeight - box.height) / 2;
  return box;
}

}  // namespace gw
