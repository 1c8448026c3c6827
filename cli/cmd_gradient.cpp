#include <string>
#include <vector>

#include "cli/command.h"
#include "cli/material_cli_options.h"
#include "cli/png_io.h"
#include "materials/gradient_render.h"
#include "materials/gradient_settings.h"

namespace gw::cli {

using namespace material_cli;

// Renders a gradient to a PNG, from defaults, a record file and options, in
// that order of precedence (options last).
int runGradient(const std::vector<std::string>& args) {
  const Command& self = *findCommand("gradient");
  uint8_t settings[kGradientSettingsSize];
  gradientSettingsDefaults(settings);
  int32_t w = 256, h = 128;
  std::string output, settingsOut, error;
  for (size_t i = 0; i + 1 < args.size(); ++i) {
    if (args[i] == "--settings" && !readGradientFile(args[i + 1], settings, &error)) return fail(error);
  }
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      if (i + 1 >= args.size()) return usageError(self, a + " needs a value");
      const std::string& value = args[++i];
      bool known = false;
      if (a == "--settings") continue;
      if (a == "--size") {
        if (!parseImageSize(value, &w, &h)) return usageError(self, "bad size " + value);
      } else if (a == "--write-settings") {
        settingsOut = value;
      } else if (!applyGradientOption(a, value, settings, &known)) {
        return usageError(self, "bad value for " + a + ": " + value);
      } else if (!known) {
        return usageError(self, "unknown option " + a);
      }
    } else if (output.empty()) {
      output = a;
    } else {
      return usageError(self, "more than one output file");
    }
  }
  if (output.empty() && settingsOut.empty()) return usageError(self, "no output file");
  if (!settingsOut.empty() && !writeBytes(settingsOut, settings, kGradientSettingsSize, &error)) return fail(error);
  if (output.empty()) return kExitOk;
  MemBlock bitmap(gradientRender(settings, w, h));
  if (!bitmap) return fail("the gradient could not be rendered");
  if (!writeBitmapAsPng(bitmap.get(), output, &error)) return fail(error);
  return kExitOk;
}

}  // namespace gw::cli
