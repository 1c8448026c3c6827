#include "cli/command.h"

namespace gw::cli {

int runInfo(const std::vector<std::string>& args);
int runTexture(const std::vector<std::string>& args);
int runTile(const std::vector<std::string>& args);
int runPalette(const std::vector<std::string>& args);
int runQuantize(const std::vector<std::string>& args);

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {"info", "show the plug-in's name, description and version", "", runInfo},
      {"texture", "render a texture to a PNG",
       "[--size WxH] [--settings FILE] [--type 0-5] [--mesh N] [--back COLOUR] [--fore [K=]COLOUR] "
       "[--power [K=]X] [--seed [K=]N] [--dimension [K=]X] [--craters N] [--depth X] [--bubbles N] "
       "[--bubble-size N] [--bubble-power X] [--perturbation X] [--shape 0-3] [--write-settings FILE] OUT.png",
       runTexture},
      {"tile", "list, extract, build and tile matrix tile groups",
       "list GROUP.mtx | extract GROUP.mtx INDEX OUT.png | build [--backup] GROUP.mtx [IN.png...] | "
       "fill WxH OUT.png [GROUP.mtx INDEX]",
       runTile},
      {"palette", "write a standard palette (0-9) as a GIMP palette", "TYPE [-o FILE.gpl]", runPalette},
      {"quantize", "reduce a PNG to a palette with the build's quantizer and report its PSNR",
       "IN.png -o OUT.png [--colors N] [--dither] [--brightness 0-100] [--contrast 0-255] [--fast] | "
       "IN.png --compare OTHER.png",
       runQuantize},
  };
  return table;
}

}  // namespace gw::cli
