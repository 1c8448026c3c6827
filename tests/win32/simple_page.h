// The controls a test drives on the main dialog's "Simple" page, which the
// material tests use because its face, shadow and background are each one
// material button.
#pragma once

#include <windows.h>

#include "resources/resource_ids.h"

namespace harness::simple_page {

constexpr int kEffectIndex = 12;  // "Simple" in the effect list
constexpr int kFace = 100;
constexpr int kShadow = 102;
constexpr int kBackground = 104;
constexpr int kSoftness = 114;
// A material button opens its kind menu on this message; the items are the
// material kinds in their order (Simple, Gradient, Texture, Tile).
constexpr UINT kKindMenu = 1325;

// Shows the "Simple" page and ticks the dialog's true-colour switch, so a
// Test build hands over the materials' colours unquantized.
void showInTrueColour(HWND mainDialog);

}  // namespace harness::simple_page
