// `glyphwright sample`: the still the main dialog's sample window shows, for
// the chosen effect, text, font and options, written as a PNG.
//
// The dialog is the render command's: built-in defaults (or --config) with
// the options over them, no configuration or material files of the user's.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/dialog_session.h"
#include "cli/png_io.h"
#include "cli/render_options.h"
#include "effects/effect_table.h"
#include "platform/bitmap.h"
#include "settings/settings_record.h"

namespace gw::cli {
namespace {

// The sample window's size in pixels, as the effect is told of it.
constexpr int32_t kSampleWidth = 600;
constexpr int32_t kSampleHeight = 200;

}  // namespace

int runSample(const std::vector<std::string>& args) {
  const Command& self = *findCommand("sample");
  RenderOptions options;
  std::string error;
  if (!parseRenderOptions(args, &options, &error)) return usageError(self, error);

  DialogSession session;
  if (!session.prepare(options, nullptr, &error)) return fail(error);

  const EffectRow& row = effectRow(clampEffectIndex(settings().MainEffect));
  if (!effectAvailable(row)) return fail(std::string("\"") + row.name + "\": " + kEffectNotAvailableMessage);
  EffectContext ctx;
  ctx.window = &session.dialog();
  ctx.sampleWidth = kSampleWidth;
  ctx.sampleHeight = kSampleHeight;
  ctx.sample = 1;
  int made = effectPreview(row, ctx);
  MemBlock image(ctx.image);
  if (!made || !image) return fail("the effect made no still (no font, or out of memory)");
  if (!writeBitmapAsPng(image.get(), options.output, &error)) return fail(error);
  int32_t w = 0, h = 0;
  bitmapQuery(image.get(), &w, &h, nullptr, nullptr);
  std::printf("%s: %d x %d pixels\n", options.output.c_str(), int(w), int(h));
  return kExitOk;
}

}  // namespace gw::cli
