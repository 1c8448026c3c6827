// The 21 effects, in the fixed order whose row index is stored under
// `MainEffect` (12 is "Simple"). Each row names the effect, its parameter page
// (dialog resource), the number of its configuration keys ("Style%03d"), its
// four operations and the controls of its page.
//
//   const gw::EffectRow& row = gw::effectRow(gw::clampEffectIndex(settings().MainEffect));
//   gw::EffectContext ctx; ctx.window = &dialog; ctx.sample = 1;
//   if (gw::effectPreview(row, ctx)) ...
//
// Operations may be null: "Simple" (effects/simple_effect.h) and the effects
// that move the letters (effects/letter_effects.h) have theirs; the others
// get theirs in later work. Call the operations through effectPreview/effectBuild/
// effectQueryBackground below, which treat a missing one safely: the preview
// shows nothing, the build fails (the caller shows kEffectNotAvailableMessage),
// and the background query answers from the page's background button.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "effects/effect_context.h"
#include "effects/page_control.h"
#include "platform/dialog_facade.h"

namespace gw {

constexpr int kEffectCount = 21;
constexpr int kSimpleEffectIndex = 12;
constexpr uint16_t kFirstEffectPage = 7400;

// Each returns nonzero on success.
using EffectInitPageOp = int (*)(EffectContext& ctx);
using EffectPreviewOp = int (*)(EffectContext& ctx);
using EffectBuildOp = int (*)(EffectContext& ctx);
// The colour behind the text (0x00BBGGRR) or -1 when there is no single one.
using EffectQueryBackgroundOp = int32_t (*)(DialogFacade& window, int flag);

struct EffectRow {
  const char* name;  // also the text of the effect list (control 58)
  uint16_t page;     // dialog resource of the parameter page
  EffectInitPageOp initPage;
  EffectPreviewOp preview;
  EffectBuildOp build;
  EffectQueryBackgroundOp queryBackground;
  const PageControl* controls;  // the page's controls, ended by an entry with id 0
  uint32_t reserved;            // always 0
};

const EffectRow& effectRow(int index);  // index must be 0..20
int clampEffectIndex(int32_t index);
// The row whose name is `name` (exact), or -1.
int findEffect(const std::string& name);

// "Style" and three digits: the page number less 7400 (not the row).
std::string effectKeyPrefix(const EffectRow& row);

// Every control id of the row's page, spin partners (id + 10000) included.
std::vector<uint32_t> effectControlIds(const EffectRow& row);

// The ids every page may use: 100..1198 and their partners 10100..11198.
constexpr uint32_t kPageControlFirst = 100;
constexpr uint32_t kPageControlLast = 1198;

extern const char kEffectNotAvailableMessage[];  // "This effect is not available yet."

// Operations that tolerate a missing slot.
int effectInitPage(const EffectRow& row, EffectContext& ctx);
int effectPreview(const EffectRow& row, EffectContext& ctx);
int effectBuild(const EffectRow& row, EffectContext& ctx);
int32_t effectQueryBackground(const EffectRow& row, DialogFacade& window, int flag);
bool effectAvailable(const EffectRow& row);  // has preview and build

// The shared background rule, for effects whose background is one button of
// their page: -1 when `flag` is nonzero and `uniform` is false; else the alpha
// grey when controls 62 and 63 are both checked; else the material's colour
// (a material button) or the colour (a colour button) of `buttonId`; else -1.
int32_t queryBackgroundFromButton(DialogFacade& window, int flag, uint32_t buttonId, bool uniform);

// The generator of effects with a `Seed` key: a 64-bit state set to the seed;
// each draw steps S = S * 0x000015A400004E35 + 1 and returns (S >> 32) & 0x7FFFFFFF.
struct EffectRandom {
  uint64_t state = 0;
  explicit EffectRandom(uint32_t seed) : state(seed) {}
  int32_t next() {
    state = state * 0x000015A400004E35ull + 1;
    return int32_t((state >> 32) & 0x7FFFFFFF);
  }
};

}  // namespace gw
