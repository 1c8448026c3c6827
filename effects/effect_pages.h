// Effect pages inside the main dialog: each page's controls are copied,
// hidden, from its dialog template into the main dialog and bound to the
// effect's settings; selecting an effect shows its page's controls only.
//
//   if (!gw::createEffectPages(dialog)) { /* "This plugin could not be initialized" */ }
//   gw::selectEffect(dialog, gw::settings().MainEffect);
#pragma once

#include <cstdint>

#include "effects/effect_context.h"
#include "effects/effect_table.h"
#include "platform/dialog_facade.h"

namespace gw {

extern const char kPluginInitFailedMessage[];  // "This plugin could not be initialized"

// The Init page operation every row uses: copies page `page`'s controls into
// ctx.window and binds them. Nonzero on success; 0 when a control cannot be
// made (or the page template is missing).
int initEffectPage(EffectContext& ctx, uint16_t page);
template <uint16_t Page>
int initEffectPageOf(EffectContext& ctx) {
  return initEffectPage(ctx, Page);
}

// Dialog start: for each row in order, the name goes into the effect list
// (control 58) and the row's Init page runs. False at the first failure.
bool createEffectPages(DialogFacade& dialog);

// Destroys the pages' material buttons (each writes its material file when
// the run keeps files, and frees its record) and unbinds them. Every dialog whose pages were created calls it once before
// it goes; calling it again does nothing.
void releaseEffectPages(DialogFacade& dialog);

// Hides every page control of every effect and shows those of row `index`
// (clamped to 0..20), selecting it in the effect list.
void selectEffect(DialogFacade& dialog, int32_t index);

}  // namespace gw
