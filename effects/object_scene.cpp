#include "effects/object_scene.h"

#include "base/le_bytes.h"
#include "effects/build_start.h"
#include "effects/frame_sequence.h"
#include "materials/material_record.h"
#include "protocol/frame_store.h"
#include "resource_ids.h"

namespace gw {
namespace {

// The line, its canvases and the scene, made once for every frame.
struct PreparedScene {
  StyledLine line;
  FrameComposer composer;
  std::unique_ptr<ObjectScene> scene;
  int32_t frames = 1;

  bool prepare(const DialogFacade& dialog, const ObjectPage& page, SceneFactory make, bool alphaMask) {
    TextStyle style = readTextStyle(dialog, page.style, alphaMask);
    if (page.style.shadowEnable && dialog.hasControl(page.style.shadowEnable) &&
        dialog.checked(page.style.shadowEnable)) {
      style.shadowEnable = true;
      const int32_t colour = page.shadowColourButton
                                 ? controlWord(dialog, page.shadowColourButton, int32_t(page.shadowColour))
                                 : int32_t(page.shadowColour);
      style.shadowMaterial = plainMaterial(uint32_t(colour));
    }
    if (page.adjustStyle) page.adjustStyle(dialog, style);
    frames = page.framesControl ? controlNumber(dialog, page.framesControl, 2, 32760, page.defaultFrames)
                                : page.defaultFrames;
    scene = make(dialog);
    const StyledLine& l = line;
    return scene && prepareStyledLine(style, &line) &&
           composer.prepare(line, line.restWidth, line.restHeight) &&
           composer.holdLetters([&l](MaskPlane& mask, Offset origin) {
             stampLine(l, mask, origin.x, origin.y);
             return true;
           }) &&
           scene->prepare(line, composer, frames);
  }

  // The letters stand at rest in every frame; only the objects move.
  MemHandle render(int64_t k) const {
    FrameHooks hooks;
    const ObjectScene* s = scene.get();
    hooks.ground = [s, k](FrameLayer& layer) { return s->ground(layer, k); };
    hooks.behind = [s, k](FrameLayer& layer) { return s->behind(layer, k); };
    hooks.front = [s, k](FrameLayer& layer) { return s->front(layer, k); };
    return composer.compose(nullptr, hooks);
  }
};

}  // namespace

MaterialBytes plainMaterial(uint32_t colour) {
  MaterialBytes m;
  materialRecordDefaults(m.data(), false);
  writeU32(m.data() + material::kColour, colour & 0xFFFFFF);
  return m;
}

int objectPreview(EffectContext& ctx, const ObjectPage& page, SceneFactory make) {
  if (!ctx.window) return 0;
  ctx.flags |= kEffectFlagPreview;
  PreparedScene prepared;
  // The sample never carries an alpha mask.
  if (!prepared.prepare(*ctx.window, page, make, false)) return 0;
  MemHandle image = prepared.render(0);
  if (!image) return 0;
  ctx.image = image;
  return 1;
}

int objectBuild(EffectContext& ctx, const ObjectPage& page, SceneFactory make) {
  BuildStart start;
  if (!beginBuild(ctx, &start)) return 0;
  PreparedScene prepared;
  if (!prepared.prepare(*start.dialog, page, make, start.alphaMask)) return 0;
  const int32_t n = start.animated ? prepared.frames : 1;
  // Frame 0 is the rest frame; it and the last frame hold the pause.
  return appendFrames(
             ctx, n, [&](int32_t k) { return prepared.render(k); },
             [&](int32_t k) { return (n > 1 && (k == 0 || k == n - 1)) ? start.delay + start.pause : start.delay; })
             ? 1
             : 0;
}

MemHandle objectFrame(const DialogFacade& dialog, const ObjectPage& page, SceneFactory make, int64_t k,
                      bool alphaMask) {
  PreparedScene prepared;
  if (!prepared.prepare(dialog, page, make, alphaMask)) return 0;
  return prepared.render(k);
}

}  // namespace gw
