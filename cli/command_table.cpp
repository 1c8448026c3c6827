#include "cli/command.h"
#include "cli/render_options.h"

namespace gw::cli {

int runInfo(const std::vector<std::string>& args);
int runRender(const std::vector<std::string>& args);
int runEffects(const std::vector<std::string>& args);
int runSettings(const std::vector<std::string>& args);
int runTexture(const std::vector<std::string>& args);
int runGradient(const std::vector<std::string>& args);
int runMaterial(const std::vector<std::string>& args);
int runTile(const std::vector<std::string>& args);
int runPalette(const std::vector<std::string>& args);
int runQuantize(const std::vector<std::string>& args);
int runSample(const std::vector<std::string>& args);
int runFonts(const std::vector<std::string>& args);
int runDocument(const std::vector<std::string>& args);
int runLibrary(const std::vector<std::string>& args);

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {"render", "render an animation (GIF, animated WebP or PNG frames)", kRenderUsage, runRender},
      {"document", "write the effect document render options describe, or check one",
       "[DOC.gw5] [render options] -o NEW.gw5 | --check DOC.gw5\n"
       "\n"
       "Writes the document the plug-in would save with the dialog set as the render\n"
       "options (or a document changed by them) set it, for a GIF build; or, with\n"
       "--check, lists what each line of a document sets and every line it ignores.",
       runDocument},
      {"info", "show the plug-in's name, description and version", "", runInfo},
      {"effects", "list the 21 effects with their configuration keys and defaults", "", runEffects},
      {"settings", "print the settings as the configuration file would hold them", "[--file FILE]", runSettings},
      {"texture", "render a texture to a PNG, or list a texture group",
       "[--size WxH] [--group FILE.fft] [--item NAME|INDEX] [--settings FILE] [--type 0-5] [--mesh N] [--back COLOUR] [--fore [K=]COLOUR] "
       "[--power [K=]X] [--seed [K=]N] [--dimension [K=]X] [--craters N] [--depth X] [--bubbles N] "
       "[--bubble-size N] [--bubble-power X] [--perturbation X] [--shape 0-3] [--write-settings FILE] "
       "(-o OUT.png | OUT.png) | [--group FILE.fft] --list  (without --group: the shipped glwplug5.fft)",
       runTexture},
      {"gradient", "render a gradient to a PNG",
       "[--size WxH] [--settings FILE] [--shape linear|angular|elliptical|rectangular] [--start COLOUR] "
       "[--end COLOUR] [--edge-pad 0-45] [--centre X,Y] [--midpoint 1-99] [--rotation DEG] [--mode two|multi] "
       "[--preset empty|grey|rainbow] [--fountain-start COLOUR] [--fountain-end COLOUR] [--looped 0|1] "
       "[--marker POS=COLOUR]... [--write-settings FILE] OUT.png  (COLOUR: #RRGGBB or 0xBBGGRR)",
       runGradient},
      {"material", "render a material to a PNG",
       "[--size WxH] [--record FILE] [--document FILE] [--kind simple|gradient|texture|tile] [--colour COLOUR] "
       "[--gradient FILE] [gradient options] [--texture FILE] [--texture-type 0-5] [--tile-group FILE.mtx] "
       "[--tile-index N] [--write-record FILE] [--print-line ID] [--info] [OUT.png] | --sheet OUT.png",
       runMaterial},
      {"tile", "list, extract, add to, build and tile matrix tile groups",
       "list [GROUP.mtx] | extract [GROUP.mtx] INDEX OUT.png | add [--backup] GROUP.mtx IN.png... | "
       "build [--backup] GROUP.mtx [IN.png...] | fill WxH OUT.png [GROUP.mtx INDEX]  "
       "(without GROUP.mtx: the shipped glwplug5.mtx)",
       runTile},
      {"library", "list, add to, extract from a fountain library, or import a GIMP gradient into one",
       "list FILE.fll | add FILE.fll [SOURCE] [--preset empty|grey|rainbow] [--fountain-start COLOUR] "
       "[--fountain-end COLOUR] [--marker POS=COLOUR]... | extract FILE.fll INDEX -o OUT.png|OUT.mtrl... "
       "[--size WxH] | import GRADIENT.ggr [-o FILE.fll]  (COLOUR: #RRGGBB or 0xBBGGRR)\n"
       "\n"
       "SOURCE is a fountain record (581 bytes), gradient settings (621) or a material\n"
       "record (1270): its fountain, or the ramp of a two-colour gradient. The options\n"
       "change the fountain after it is read. extract writes each -o by its name: a .png\n"
       "is the ramp drawn at --size (default 256x32), anything else the 581-byte record.\n"
       "import adds a GIMP gradient to FILE.fll (default: the plug-in's own library).\n"
       "Segment edges become markers (a colour jump two markers at one place); curved,\n"
       "sine, sphere and step blends and HSV colouring are followed by further markers\n"
       "where a straight ramp strays most, until it is within one level or the 64\n"
       "markers are used. With more edges than 64 markers hold, the 64 go where the\n"
       "ramp changes most. Transparency is dropped; foreground/background endpoint\n"
       "colours are read as the colours stored with them.\n"
       "Use an entry in render and sample with --face fountain:FILE.fll:INDEX.",
       runLibrary},
      {"palette", "write a standard palette (0-9) as a GIMP palette", "TYPE [-o FILE.gpl]", runPalette},
      {"quantize", "reduce a PNG to a palette with the build's quantizer and report its PSNR",
       "IN.png -o OUT.png [--colors N] [--dither] [--brightness 0-100] [--contrast 0-255] [--fast] | "
       "IN.png --compare OTHER.png",
       runQuantize},
      {"sample", "write the sample window's still of an effect as a PNG",
       "[render options: --text, --font, --size, --bold, --effect, --set KEY=VALUE, --face colour:RRGGBB ...] "
       "-o STILL.png", runSample},
      {"fonts", "list the font families the letter rasteriser can use", "", runFonts},
  };
  return table;
}

}  // namespace gw::cli
