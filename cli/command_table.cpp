#include "cli/command.h"

namespace gw::cli {

int runInfo(const std::vector<std::string>& args);
int runPalette(const std::vector<std::string>& args);
int runQuantize(const std::vector<std::string>& args);

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {"info", "show the plug-in's name, description and version", "", runInfo},
      {"palette", "write a standard palette (0-9) as a GIMP palette", "TYPE [-o FILE.gpl]", runPalette},
      {"quantize", "reduce a PNG to a palette with the build's quantizer and report its PSNR",
       "IN.png -o OUT.png [--colors N] [--dither] [--brightness 0-100] [--contrast 0-255] [--fast] | "
       "IN.png --compare OTHER.png",
       runQuantize},
  };
  return table;
}

}  // namespace gw::cli
