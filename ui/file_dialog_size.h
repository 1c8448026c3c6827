// The size the plug-in's file dialogs open at: remembered process-wide from
// the last one the user closed (or given by the host when the main dialog
// starts), used only when it is at least 128 x 128 pixels, and kept on the
// screen.
//
//   gw::WindowBox box = gw::fileDialogPlacement(ownWidth, ownHeight, screenW, screenH);
//   ...
//   gw::rememberFileDialogSize(closedWidth, closedHeight);
#pragma once

#include <cstdint>

namespace gw {

struct FileDialogSize {
  int32_t width = 0;
  int32_t height = 0;
};

// Smaller remembered sizes are ignored: the dialog keeps its own.
constexpr int32_t kSmallestRememberedSize = 128;

FileDialogSize rememberedFileDialogSize();
void rememberFileDialogSize(FileDialogSize size);

struct WindowBox {
  int32_t x, y, width, height;
};

// Where a file dialog whose outer size is ownWidth x ownHeight goes: at the
// remembered size clamped to the screen when that is usable, else at its
// own size; centred on the screen either way (offsets truncated toward zero).
WindowBox fileDialogPlacement(int32_t ownWidth, int32_t ownHeight, int32_t screenWidth, int32_t screenHeight);

}  // namespace gw
