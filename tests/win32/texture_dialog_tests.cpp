// The "Texture" dialog opened from a material button of the real main dialog:
// an item of the shipped group picked and accepted reaches the built frames
// and the button's file; a later Cancel, after picking another item, leaves
// the material as it was.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "materials/group_folder.h"
#include "materials/material_record.h"
#include "materials/texture_group.h"
#include "materials/texture_settings.h"
#include "platform/module.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"
#include "tests/win32/harness.h"
#include "tests/win32/simple_page.h"
#include "tests/win32/test_build.h"
#include "ui/texture_dialog.h"
#include "ui/texture_group_editor.h"

using harness::DialogScript;
using harness::Driver;
using harness::Plugin;

namespace {

using namespace harness::simple_page;

// "Fire" burns orange and red; nothing in the default dialog (a blue face on
// white, the default white and blue clouds) comes near these colours.
constexpr char kFireItem[] = "Fire";
constexpr uint32_t kFireFirstColour = 10460;  // its ForeColour1 in the shipped group
constexpr char kOtherItem[] = "Blue Sky";

bool fiery(uint8_t r, uint8_t g, uint8_t b) { return r >= 0xC0 && b <= 0x40 && g + 0x30 <= r; }

// Fiery pixels in every 24-bit frame together.
int fieryPixels(const std::vector<std::vector<uint8_t>>& frames) {
  int count = 0;
  for (const std::vector<uint8_t>& dib : frames) {
    if (dib.size() < 40) continue;
    const int32_t w = gw::readI32(dib.data() + 4), h = gw::readI32(dib.data() + 8);
    if (gw::readU16(dib.data() + 14) != 24 || w <= 0 || h <= 0 || w > 10000 || h > 10000) continue;
    const size_t stride = ((size_t(w) * 24 + 31) / 32) * 4;
    const size_t offset = gw::readU32(dib.data());
    if (offset > dib.size() || dib.size() - offset < stride * size_t(h)) continue;
    for (int32_t y = 0; y < h; ++y)
      for (int32_t x = 0; x < w; ++x) {
        const uint8_t* p = dib.data() + offset + size_t(y) * stride + size_t(x) * 3;
        count += fiery(p[2], p[1], p[0]);
      }
  }
  return count;
}

struct Session {
  bool textureDialog = false;  // the Texture dialog opened from the button
  bool itemFound = false;
  bool groupShown = false;
  int items = 0;
  bool built = false;
  harness::BuildCapture capture;
};

// What one opening of the plug-in does in the Texture dialog.
struct Visit {
  bool toTexture;          // the face first becomes a Texture from its kind menu
  const char* item;        // the item picked; null: the dialog is not opened
  int closeWith;           // IDC_BUILD (OK) or IDC_CANCEL
  const char* screenshot;  // pictures of the dialog (file stem), or null
};

// One opening of the plug-in: the "Simple" page, the Texture dialog opened
// from the face's main zone as `visit` says, then a true-colour Test build.
void runSession(Session& s, const Visit& visit) {
  Plugin plugin;
  plugin.answer = [&s](void*, int32_t code, int32_t, void* p) { return s.capture.answer(code, p); };
  DialogScript script([&](Driver& d) {
    HWND dlg = d.waitFor("Glyphwright #5");
    CHECK(dlg != nullptr);
    if (!dlg) return;
    showInTrueColour(dlg);
    HWND face = GetDlgItem(dlg, kFace);
    if (visit.toTexture) CHECK(harness::chooseMaterialKind(face, gw::kMaterialTexture));
    if (visit.item) harness::clickMainZone(face);
    if (HWND texture = visit.item ? d.waitFor("Texture") : nullptr) {
      s.textureDialog = true;
      s.groupShown = d.text(texture, IDC_TEXTURE_GROUPS) == "glwplug5";
      s.items = int(SendDlgItemMessageA(texture, IDC_TEXTURE_ITEMS, LB_GETCOUNT, 0, 0));
      if (visit.screenshot) {
        // The other generators' fields, for a person to look at.
        const char* const others[][2] = {{"Moon Surface", "_craters"}, {"Soap Bubbles", "_perturbation"}};
        for (const auto& other : others) {
          harness::selectListItem(texture, IDC_TEXTURE_ITEMS, other[0]);
          d.screenshot(texture, harness::tempPath(std::string(visit.screenshot) + other[1] + ".bmp"));
        }
      }
      s.itemFound = harness::selectListItem(texture, IDC_TEXTURE_ITEMS, visit.item);
      if (visit.screenshot) d.screenshot(texture, harness::tempPath(std::string(visit.screenshot) + ".bmp"));
      d.press(texture, visit.closeWith);
      CHECK(d.waitGone(texture));
    }
    Sleep(300);
    s.built = harness::pressTestAndWait(d, dlg, s.capture);
    d.press(dlg, IDC_CANCEL);
    d.waitGone(dlg);
  });
  CHECK_EQ(plugin.doBuild(0x1000), 1);
}

void setShift(bool down) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = down ? 0x80 : 0;
  keys[VK_LSHIFT] = down ? 0x80 : 0;
  SetKeyboardState(keys);
}

// Runs the Texture dialog by itself on this thread (Shift held as `shift`
// says) while `script` plays the user; true when it was accepted.
bool runAlone(uint8_t* material, bool shift, std::function<void(Driver&, HWND)> script) {
  DialogScript player([&](Driver& d) {
    HWND dlg = d.waitFor("Texture");
    CHECK(dlg != nullptr);
    if (!dlg) return;
    script(d, dlg);
    CHECK(d.waitGone(dlg));
  });
  setShift(shift);
  const bool accepted = gw::runTextureDialog(0, nullptr, material);
  setShift(false);
  return accepted;
}

// The face's texture settings as its file keeps them; empty when the file is
// missing or not a Texture material.
std::string faceTexture() {
  const std::string file = harness::readFile(harness::materialFile(kFace));
  if (file.size() != gw::kMaterialRecordSize) return {};
  const auto* rec = reinterpret_cast<const uint8_t*>(file.data());
  if (gw::readI32(rec + gw::material::kKind) != gw::kMaterialTexture) return {};
  return file.substr(gw::material::kTexture, gw::texture_settings::kSize);
}

}  // namespace

GW_TEST(TextureDialogItemReachesTheFramesAndCancelKeepsIt) {
  DeleteFileA(harness::materialFile(kFace).c_str());

  // The face becomes a Texture, "Fire" is picked and accepted.
  Session accepted;
  runSession(accepted, {true, kFireItem, IDC_BUILD, "gw_texture_dialog"});
  CHECK(accepted.textureDialog);
  CHECK(accepted.groupShown);
  CHECK(accepted.items >= 24);
  CHECK(accepted.itemFound);
  CHECK(accepted.built);
  const int fire = fieryPixels(accepted.capture.frames);
  CHECK(fire > 200);
  std::printf("  fiery pixels after OK: %d in %zu frames\n", fire, accepted.capture.frames.size());
  if (!accepted.capture.frames.empty())  // for a person to look at
    harness::saveDib(accepted.capture.frames[accepted.capture.frames.size() / 2],
                     harness::tempPath("gw_texture_face.bmp"));
  const std::string kept = faceTexture();
  CHECK_EQ(kept.size(), gw::texture_settings::kSize);
  if (kept.size() == gw::texture_settings::kSize) {
    const auto* t = reinterpret_cast<const uint8_t*>(kept.data());
    CHECK_EQ(gw::readU32(t + gw::texture_settings::foreColour(0)), kFireFirstColour);
  }

  // Opened again: the face is still Fire; another item picked, then Cancel.
  Session cancelled;
  runSession(cancelled, {false, kOtherItem, IDC_CANCEL, nullptr});
  CHECK(cancelled.textureDialog);
  CHECK(cancelled.itemFound);
  CHECK(cancelled.built);
  CHECK(fieryPixels(cancelled.capture.frames) > 200);
  CHECK(faceTexture() == kept);

  // A face that stayed Simple has no fire in it: the count above is the texture's.
  DeleteFileA(harness::materialFile(kFace).c_str());
  Session plain;
  runSession(plain, {false, nullptr, IDC_CANCEL, nullptr});
  CHECK(plain.built);
  CHECK_EQ(fieryPixels(plain.capture.frames), 0);
  DeleteFileA(harness::materialFile(kFace).c_str());
}

GW_TEST(TextureDialogSavesTheShippedGroupUnderANameAndAddsToIt) {
  harness::Plugin plugin;  // loads the DLL whose resources the dialog uses
  gw::setModuleInstance(GetModuleHandleA("glwplug5.dll"));
  const std::string mine = gw::pluginFolderFile("Mine.FFT");
  DeleteFileA(mine.c_str());
  uint8_t material[gw::kMaterialRecordSize];
  gw::materialRecordDefaults(material, false);
  std::strcpy(gw::settings().DefaultTextureFileName, "glwplug5.fft");

  // The shipped group refuses "+" and says how to edit a copy.
  std::string refusal;
  CHECK(!runAlone(material, false, [&](Driver& d, HWND dlg) {
    d.press(dlg, IDC_TEXTURE_ADD);
    if (HWND box = d.waitFor("Message")) {
      refusal = d.text(box, IDC_MESSAGE_TEXT);
      d.press(box, IDC_BUILD);
      d.waitGone(box);
    }
    d.press(dlg, IDC_CANCEL);
  }));
  CHECK_EQ(refusal, std::string(gw::kTextureReadOnlyText));

  // Shift and "+": the group saved under the name typed into the Name box.
  std::string nameShown, groupShown;
  CHECK(runAlone(material, true, [&](Driver& d, HWND dlg) {
    d.press(dlg, IDC_TEXTURE_ADD);
    if (HWND box = d.waitFor("Save group as")) {
      nameShown = d.text(box, IDC_NAME_TEXT);
      SetDlgItemTextA(box, IDC_NAME_TEXT, "Mine");
      d.press(box, IDC_BUILD);
      d.waitGone(box);
    }
    Sleep(200);
    groupShown = d.text(dlg, IDC_TEXTURE_GROUPS);
    d.press(dlg, IDC_BUILD);
  }));
  CHECK_EQ(nameShown, std::string("Untitled"));
  CHECK_EQ(groupShown, std::string("Mine"));
  CHECK_EQ(std::string(gw::settings().DefaultTextureFileName), std::string("Mine.FFT"));

  // Opened again on the copy, "+" adds the working settings; OK writes them.
  size_t shipped = 0;
  CHECK(runAlone(material, false, [&](Driver& d, HWND dlg) {
    shipped = size_t(SendDlgItemMessageA(dlg, IDC_TEXTURE_ITEMS, LB_GETCOUNT, 0, 0));
    d.press(dlg, IDC_TEXTURE_ADD);
    Sleep(200);
    d.press(dlg, IDC_BUILD);
  }));
  gw::TextureGroup group;
  CHECK(gw::textureGroupRead(mine, &group));
  CHECK(group.writeable);
  CHECK(shipped >= 24);
  CHECK_EQ(group.items.size(), shipped + 1);
  if (!group.items.empty()) CHECK_EQ(group.items.back().name, std::string(gw::kNewTextureName));

  DeleteFileA(mine.c_str());
  std::strcpy(gw::settings().DefaultTextureFileName, "glwplug5.fft");
  gw::setModuleInstance(nullptr);
}
