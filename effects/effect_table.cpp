#include "effects/effect_table.h"

#include <utility>

#include <cstdio>
#include <cstdlib>

#include "base/le_bytes.h"
#include "controls/bound_control.h"
#include "effects/effect_pages.h"
#include "effects/letter_effects.h"
#include "effects/object_effects.h"
#include "effects/omni_effect.h"
#include "effects/page_tables.h"
#include "effects/reveal_effects.h"
#include "effects/simple_effect.h"
#include "materials/material_preview.h"
#include "materials/material_record.h"
#include "resources/resource_ids.h"
#include "settings/settings_record.h"

namespace gw {

const char kEffectNotAvailableMessage[] = "This effect is not available yet.";

namespace {

#define GW_ROW(name, n, preview, build, query) \
  {name, uint16_t(7400 + n), &initEffectPageOf<7400 + n>, preview, build, query, pageControls(7400 + n), 0}

// Every effect has its four operations. The page tables are constant data,
// so reading them here is safe at start-up.
const EffectRow kEffects[kEffectCount] = {
    GW_ROW("Arrows", 7, arrowsPreview, arrowsBuild, arrowsQueryBackground),
    GW_ROW("Candy", 17, candyPreview, candyBuild, candyQueryBackground),
    GW_ROW("Confetti", 16, confettiPreview, confettiBuild, confettiQueryBackground),
    GW_ROW("Diagonal Fuse", 12, diagonalFusePreview, diagonalFuseBuild, diagonalFuseQueryBackground),
    GW_ROW("Heartbeat", 10, heartbeatPreview, heartbeatBuild, heartbeatQueryBackground),
    GW_ROW("Omni", 11, omniPreview, omniBuild, omniQueryBackground),
    GW_ROW("Machine", 4, machinePreview, machineBuild, machineQueryBackground),
    GW_ROW("Neural Network", 6, neuralNetworkPreview, neuralNetworkBuild, neuralNetworkQueryBackground),
    GW_ROW("Quark", 5, quarkPreview, quarkBuild, quarkQueryBackground),
    GW_ROW("Quark Outline", 13, quarkOutlinePreview, quarkOutlineBuild, quarkOutlineQueryBackground),
    GW_ROW("Rattle", 18, rattlePreview, rattleBuild, rattleQueryBackground),
    GW_ROW("Ring", 1, ringPreview, ringBuild, ringQueryBackground),
    GW_ROW("Simple", 0, simplePreview, simpleBuild, simpleQueryBackground),
    GW_ROW("Snow", 2, snowPreview, snowBuild, snowQueryBackground),
    GW_ROW("Stars", 3, starsPreview, starsBuild, starsQueryBackground),
    GW_ROW("Tracks", 15, tracksPreview, tracksBuild, tracksQueryBackground),
    GW_ROW("Tram Lines", 20, tramLinesPreview, tramLinesBuild, tramLinesQueryBackground),
    GW_ROW("Unplugged TV", 19, unpluggedTvPreview, unpluggedTvBuild, unpluggedTvQueryBackground),
    GW_ROW("Waterside", 8, watersidePreview, watersideBuild, watersideQueryBackground),
    GW_ROW("Wavelet", 9, waveletPreview, waveletBuild, waveletQueryBackground),
    GW_ROW("Zipper", 14, zipperPreview, zipperBuild, zipperQueryBackground),
};

#undef GW_ROW

// The page table entry of a control id, searched over every page.
const PageControl* findPageControl(uint32_t id) {
  for (uint16_t page = kFirstPage; page < kFirstPage + kPageCount; ++page)
    for (const PageControl* c = pageControls(page); c && c->id; ++c)
      if (c->id == id) return c;
  return nullptr;
}

// The mean colour of the material button's preview; the button's user data
// is the handle of its record. The mean is taken afresh from the record, as
// the record may have been changed (a document, an edit, the command line)
// since a preview was last made, and is kept in the record's preview average.
// Without a record yet the colour a new material would get stands in.
int32_t materialColour(const DialogFacade& window, uint32_t id) {
  MemHandle record = MemHandle(reinterpret_cast<uintptr_t>(window.boundVariable(id)));
  if (record && memSize(record) >= kMaterialRecordSize) {
    MemLock lock(record);
    if (lock.data()) return int32_t(materialPreviewAverage(lock.data()));
  }
  const PageControl* c = findPageControl(id);
  return c ? c->initialValue : -1;
}

}  // namespace

const EffectRow& effectRow(int index) { return kEffects[clampEffectIndex(index)]; }

int clampEffectIndex(int32_t index) {
  if (index < 0) return 0;
  if (index >= kEffectCount) return kEffectCount - 1;
  return index;
}

int findEffect(const std::string& name) {
  for (int i = 0; i < kEffectCount; ++i)
    if (name == kEffects[i].name) return i;
  return -1;
}

std::string effectKeyPrefix(const EffectRow& row) {
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "Style%03d", row.page - kFirstEffectPage);
  return prefix;
}

std::vector<uint32_t> effectControlIds(const EffectRow& row) {
  std::vector<uint32_t> ids;
  for (const PageControl* c = row.controls; c && c->id; ++c) {
    ids.push_back(c->id);
    if (c->kind == ControlKind::kSpinField) ids.push_back(c->id + kSpinPartnerOffset);
  }
  return ids;
}

// An operation that runs out of memory inside a container fails like one
// whose allocation returned nothing: no exception leaves an effect, so none
// reaches a window procedure or crosses the DLL boundary.
template <typename Call>
auto withoutExceptions(decltype(std::declval<Call>()()) failed, Call call) {
  try {
    return call();
  } catch (...) {
    return failed;
  }
}

int effectInitPage(const EffectRow& row, EffectContext& ctx) {
  return row.initPage ? withoutExceptions(0, [&] { return row.initPage(ctx); }) : 0;
}

int effectPreview(const EffectRow& row, EffectContext& ctx) {
  if (!row.preview) return 0;  // the sample window shows its plain face
  return withoutExceptions(0, [&] { return row.preview(ctx); });
}

int effectBuild(const EffectRow& row, EffectContext& ctx) {
  if (!row.build) return 0;  // no frames: the caller reports the effect as not available
  return withoutExceptions(0, [&] { return row.build(ctx); });
}

int32_t effectQueryBackground(const EffectRow& row, DialogFacade& window, int flag) {
  if (row.queryBackground) return withoutExceptions(int32_t(-1), [&] { return row.queryBackground(window, flag); });
  // Until the effect has its own answer, its first background control speaks for it.
  for (const PageControl* c = row.controls; c && c->id; ++c) {
    // The pages' background material buttons start white; fill buttons do not.
    bool background = c->kind == ControlKind::kMaterialButton && c->initialValue == 0xFFFFFF;
    if (c->key) {
      std::string key = c->key;
      background = key.size() > 8 && (key.substr(8) == "Background" || key.substr(8) == "BackgroundColor");
    }
    if (background) return queryBackgroundFromButton(window, flag, c->id, false);
  }
  return flag ? -1 : queryBackgroundFromButton(window, 0, 0, false);
}

bool effectAvailable(const EffectRow& row) { return row.preview && row.build; }

int32_t queryBackgroundFromButton(DialogFacade& window, int flag, uint32_t buttonId, bool uniform) {
  if (flag && !uniform) return -1;
  if (window.checked(IDC_ALPHA_TRANSPARENCY) && window.checked(IDC_ALPHA_BACKGROUND))
    return settings().AlphaGreyBack;
  if (buttonId == 0) return -1;
  switch (boundKindOf(window, buttonId)) {
    case ControlKind::kMaterialButton: return materialColour(window, buttonId);
    case ControlKind::kColourButton:
      return int32_t(std::strtoul(window.text(buttonId).c_str(), nullptr, 10) & 0xFFFFFF);
    default: return -1;
  }
}

}  // namespace gw
