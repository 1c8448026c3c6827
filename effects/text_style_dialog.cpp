#include "effects/text_style_dialog.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "base/le_bytes.h"
#include "controls/bound_control.h"
#include "effects/page_tables.h"
#include "platform/memory.h"
#include "resource_ids.h"
#include "settings/settings_record.h"

namespace gw {
namespace {

// The colour a new material of button `id` starts with, from the page tables.
bool startingColour(uint32_t id, int32_t* colour) {
  for (uint16_t page = kFirstPage; page < kFirstPage + kPageCount; ++page)
    for (const PageControl* c = pageControls(page); c && c->id; ++c)
      if (c->id == id) {
        *colour = c->initialValue;
        return true;
      }
  return false;
}

bool checkedOr(const DialogFacade& dialog, uint32_t id, bool fallback) {
  if (id == 0 || !dialog.hasControl(id)) return fallback;
  return dialog.checked(id);
}

}  // namespace

int32_t controlNumber(const DialogFacade& dialog, uint32_t id, int32_t lo, int32_t hi, int32_t fallback) {
  if (id == 0 || !dialog.hasControl(id)) return fallback;
  std::string text = dialog.text(id);
  const char* s = text.c_str();
  char* end = nullptr;
  long long v = std::strtoll(s, &end, 10);
  if (end == s) v = 0;  // as atol reads a text without digits
  return int32_t(std::clamp<long long>(v, lo, hi));
}

int32_t controlWord(const DialogFacade& dialog, uint32_t id, int32_t fallback) {
  if (id == 0 || !dialog.hasControl(id)) return fallback;
  std::string text = dialog.text(id);
  char* end = nullptr;
  unsigned long long v = std::strtoull(text.c_str(), &end, 10);
  if (end == text.c_str()) return fallback;
  return int32_t(uint32_t(v & 0xFFFFFFFFu));
}

bool readMaterialButton(const DialogFacade& dialog, uint32_t id, MaterialBytes* out) {
  if (id == 0 || !dialog.hasControl(id)) return false;
  // Most pages paint the shadow (and some the background) with a colour
  // button, whose binding is the colour variable, not a record: it becomes a
  // plain material of that colour.
  if (boundKindOf(dialog, id) == ControlKind::kColourButton) {
    materialRecordDefaults(out->data(), false);
    writeU32(out->data() + material::kColour, uint32_t(controlWord(dialog, id, 0)) & 0xFFFFFF);
    return true;
  }
  // A material button's binding is the handle of the record it owns.
  auto record = MemHandle(reinterpret_cast<uintptr_t>(dialog.boundVariable(id)));
  if (record && memSize(record) >= kMaterialRecordSize) {
    MemLock lock(record);
    if (lock.data() && materialRecordHasMagic(lock.data())) {
      std::memcpy(out->data(), lock.data(), kMaterialRecordSize);
      return true;
    }
  }
  int32_t colour = 0x808080;
  startingColour(id, &colour);
  materialRecordDefaults(out->data(), false);
  writeU32(out->data() + material::kColour, uint32_t(colour) & 0xFFFFFF);
  return true;
}

TextStyle readMainTextStyle(const DialogFacade& dialog) {
  TextStyle s;
  s.text = dialog.text(IDC_TEXT);
  s.fontFace = dialog.text(IDC_FONT);
  // A face the font list does not hold leaves it without a selection; the
  // stored face still names what to ask the rasteriser for (it substitutes).
  if (s.fontFace.empty()) s.fontFace = settings().MainFontName;
  s.fontSize = controlNumber(dialog, IDC_FONT_SIZE, 4, 400, 24);
  s.bold = checkedOr(dialog, IDC_BOLD, false);
  s.italic = checkedOr(dialog, IDC_ITALIC, false);
  s.antialias = checkedOr(dialog, IDC_ANTIALIAS, true);
  s.characterSpace = controlNumber(dialog, IDC_CHARACTER_SPACE, 50, 150, 100);
  s.padding = controlNumber(dialog, IDC_PAD, 0, 512, 0);
  s.accentCompensation = settings().AccentCompensation != 0;
  s.alphaBackground = checkedOr(dialog, IDC_ALPHA_TRANSPARENCY, false) &&
                      checkedOr(dialog, IDC_ALPHA_BACKGROUND, false);
  s.alphaGreyBack = uint32_t(settings().AlphaGreyBack) & 0xFFFFFF;
  return s;
}

TextStyle readTextStyle(const DialogFacade& dialog, const StylePage& page, bool alphaMask) {
  TextStyle s = readMainTextStyle(dialog);
  if (!readMaterialButton(dialog, page.fillMaterial, &s.fillMaterial)) {
    materialRecordDefaults(s.fillMaterial.data(), false);
  }
  s.fillOpacity = controlNumber(dialog, page.fillOpacity, 0, 255, 255);
  s.shadowEnable = checkedOr(dialog, page.shadowEnable, false) && page.shadowMaterial != 0;
  if (s.shadowEnable && !readMaterialButton(dialog, page.shadowMaterial, &s.shadowMaterial))
    s.shadowEnable = false;
  s.shadowOpacity = controlNumber(dialog, page.shadowOpacity, 0, 255, 255);
  s.shadowOffset = controlNumber(dialog, page.shadowOffset, 1, 255, 4);
  s.shadowDirection = controlWord(dialog, page.shadowDirection, 7);
  s.softness = controlNumber(dialog, page.softness, 0, 40, 0);
  s.outlineEnable = checkedOr(dialog, page.outlineEnable, false);
  s.outlineColour = uint32_t(controlWord(dialog, page.outlineColour, 0x333333)) & 0xFFFFFF;
  if (!readMaterialButton(dialog, page.backgroundMaterial, &s.backgroundMaterial)) {
    materialRecordDefaults(s.backgroundMaterial.data(), false);
    writeU32(s.backgroundMaterial.data() + material::kColour, 0xFFFFFF);
  }
  s.alphaMask = alphaMask;
  return s;
}

}  // namespace gw
