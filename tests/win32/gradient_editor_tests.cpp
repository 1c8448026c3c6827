// The "Gradient" editor with real windows: the test host runs the editor's
// own code (its views are linked in) over the DLL's resources, plays the
// user from a second thread, and checks the settings OK writes back.
#include <cstdint>
#include <cstring>
#include <string>

#include "base/le_bytes.h"
#include "materials/fountain_record.h"
#include "materials/gradient_settings.h"
#include "platform/calling_convention.h"
#include "platform/module.h"
#include "platform/wire_pointer.h"
#include "protocol/host_protocol.h"
#include "tests/win32/harness.h"
#include "ui/fountain_button.h"
#include "ui/gradient_editor.h"

using harness::DialogScript;
using harness::Driver;

namespace {

int g_colourRequests = 0;

// The host's colour picker answers every request with green.
int32_t __cdecl colourHost(void*, int32_t code, int32_t, void* p) {
  if (code != gw::kHostPickColour) return 0;
  ++g_colourRequests;
  gw::writeU32(static_cast<uint8_t*>(p) + gw::colour_pick_record::kColour, 0x00FF00);
  return 1;
}

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

// Client column of a 0..255 position on the fountain button.
int columnOf(HWND button, int position) {
  RECT r;
  GetClientRect(button, &r);
  const auto g = gw::fountainButtonGeometry(r.right, r.bottom);
  return g.markerX(int(float(position) * (1.0f / 255.0f) * float(g.ramp.width())));
}

}  // namespace

GW_TEST(GradientEditorAddsAndDragsAMarkerAndKeepsItOnOk) {
  harness::Plugin plugin;  // loads the DLL whose resources the editor uses
  CHECK(plugin.loaded());
  gw::setModuleInstance(GetModuleHandleA("glwplug5.dll"));
  uint8_t params[64] = {};
  gw::writeU16(params + gw::host_params::kHostVersion, 0x1000);
  gw::writeU32(params + gw::host_params::kCallback, gw::wireFromPointer(reinterpret_cast<void*>(&colourHost)));
  uint8_t settings[gw::kGradientSettingsSize];
  gw::gradientSettingsDefaults(settings);
  g_colourRequests = 0;
  bool sawButton = false;
  bool sawPositionDialog = false;
  std::string positionShown;
  DialogScript script([&](Driver& d) {
    HWND dlg = d.waitFor("Gradient");
    if (!dlg) return;
    HWND button = GetDlgItem(dlg, 120);
    sawButton = button != nullptr;
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(119, BN_CLICKED), LPARAM(GetDlgItem(dlg, 119)));
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(103, BN_CLICKED), LPARAM(GetDlgItem(dlg, 103)));
    // A double click in the strip at position 16 adds a (green) marker there.
    SendMessageA(button, WM_LBUTTONDBLCLK, MK_LBUTTON, at(columnOf(button, 16) + 1, 6));
    // The rainbow's marker at 160 dragged to about 240.
    SendMessageA(button, WM_LBUTTONDOWN, MK_LBUTTON, at(columnOf(button, 160), 6));
    SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, at(columnOf(button, 200), 6));
    SendMessageA(button, WM_MOUSEMOVE, MK_LBUTTON, at(columnOf(button, 240), 6));
    SendMessageA(button, WM_LBUTTONUP, 0, at(columnOf(button, 240), 6));
    Sleep(300);
    d.screenshot(dlg, harness::tempPath("gw_gradient_editor.bmp"));
    // "Adjust position" of the first (green) marker through its dialog.
    PostMessageA(button, gw::kMsgFountainPosition, 0, 0);
    HWND position = d.waitFor("Marker Position");
    sawPositionDialog = position != nullptr;
    if (position) {
      positionShown = d.text(position, 101);
      SetDlgItemTextA(position, 101, "5");
      d.press(position, 1);
      d.waitGone(position);
    }
    d.press(dlg, 1);
    d.waitGone(dlg);
  });
  CHECK(gw::runGradientEditor(0, params, settings));
  CHECK(sawButton);
  CHECK_EQ(g_colourRequests, 1);
  CHECK_EQ(gw::readI32(settings + gw::gradient::kShape), 2);
  CHECK_EQ(gw::readI32(settings + gw::gradient::kColourMode), 0);
  const uint8_t* f = settings + gw::gradient::kFountain;
  CHECK_EQ(gw::fountainMarkerCount(f), 8);
  const uint32_t first = gw::fountainMarker(f, 0);
  CHECK_EQ(gw::fountainMarkerColour(first), 0x00FF00u);
  CHECK(sawPositionDialog);
  CHECK(positionShown == "15" || positionShown == "16" || positionShown == "17");
  CHECK_EQ(gw::fountainMarkerPosition(first), 5);
  // 160 is gone; the blue marker sits near 240, between 224 and the end.
  bool at160 = false;
  int blue = -1;
  for (int i = 0; i < gw::fountainMarkerCount(f); ++i) {
    const uint32_t m = gw::fountainMarker(f, i);
    at160 = at160 || gw::fountainMarkerPosition(m) == 160;
    if (gw::fountainMarkerColour(m) == 0x0000FF) blue = gw::fountainMarkerPosition(m);
  }
  CHECK(!at160);
  CHECK(blue >= 238 && blue <= 242);
  gw::setModuleInstance(nullptr);
}

GW_TEST(GradientEditorCancelLeavesTheSettings) {
  harness::Plugin plugin;
  gw::setModuleInstance(GetModuleHandleA("glwplug5.dll"));
  uint8_t settings[gw::kGradientSettingsSize];
  gw::gradientSettingsDefaults(settings);
  uint8_t before[gw::kGradientSettingsSize];
  std::memcpy(before, settings, sizeof before);
  DialogScript script([&](Driver& d) {
    HWND dlg = d.waitFor("Gradient");
    if (!dlg) return;
    SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(104, BN_CLICKED), LPARAM(GetDlgItem(dlg, 104)));
    SetDlgItemTextA(dlg, 112, "30");
    d.press(dlg, 2);
    d.waitGone(dlg);
  });
  CHECK(!gw::runGradientEditor(0, nullptr, settings));
  CHECK(std::memcmp(settings, before, sizeof before) == 0);
  gw::setModuleInstance(nullptr);
}
