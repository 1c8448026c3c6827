#include "effects/build_start.h"

#include "effects/text_style_dialog.h"
#include "platform/memory.h"
#include "resource_ids.h"

namespace gw {

bool beginBuild(EffectContext& ctx, BuildStart* start) {
  if (!ctx.window || !ctx.frameStore) return false;
  DialogFacade& dialog = *ctx.window;
  ctx.flags |= kEffectFlagBuild;
  memFree(ctx.image);
  ctx.image = 0;
  start->dialog = &dialog;
  // What the sample window shows is always opaque.
  start->alphaMask = ctx.sample == 0 && dialog.checked(IDC_ALPHA_TRANSPARENCY);
  start->animated = dialog.checked(IDC_ANIMATED);
  start->delay = controlNumber(dialog, IDC_DELAY, 0, 65535, 0);
  start->pause = controlNumber(dialog, IDC_PAUSE, 0, 65535, 0);
  return true;
}

}  // namespace gw
