// `glyphwright fonts`: the font families the letter rasteriser can use, one
// a line. A family not listed still renders, in the face the system
// substitutes for it.
#include <cstdio>

#include "cli/command.h"
#include "platform/rasteriser.h"

namespace gw::cli {

int runFonts(const std::vector<std::string>& args) {
  if (!args.empty()) return usageError(*findCommand("fonts"), "takes no arguments");
  std::vector<std::string> families = rasteriserFontFamilies();
  if (families.empty()) return fail("no font families found");
  for (const std::string& family : families) std::printf("%s\n", family.c_str());
  return kExitOk;
}

}  // namespace gw::cli
