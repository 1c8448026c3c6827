#include "cli/render_options.h"

#include <cctype>
#include <cstdlib>

namespace gw::cli {

const char kRenderUsage[] =
    "[DOC.gw5] [options] -o OUTPUT.gif|.webp|.png\n"
    "\n"
    "Renders an animation with the plug-in's own build. Without options it makes\n"
    "the built-in default: \"This space for rent...\" scrolling with \"Simple\".\n"
    "With an effect document it renders what the plug-in renders after opening\n"
    "it; options given beside it change what they name.\n"
    "\n"
    "text and font:\n"
    "  --text TEXT            the line of text\n"
    "  --font NAME            font family (see 'glyphwright fonts')\n"
    "  --size N               font height in pixels\n"
    "  --bold, --no-bold      --italic, --no-italic     --antialias, --no-antialias\n"
    "  --space PERCENT        character space\n"
    "  --pad N                padding around the text (0 to 512)\n"
    "effect:\n"
    "  --effect NAME|INDEX    one of 'glyphwright effects'\n"
    "  --frames N             the effect's frame count\n"
    "  --delay N, --pause N   frame delay and the pause at rest, hundredths of a second\n"
    "  --set KEY=VALUE        any key of the settings (e.g. Style000Scroll=2)\n"
    "  --animation FILE       the animation \"Omni\" lays the text over: an animated\n"
    "                         GIF or WebP, or a PNG (selects \"Omni\" when no effect is named)\n"
    "materials of the effect's page (its Fill, Shadow and Background buttons):\n"
    "  --face SPEC, --shadow SPEC, --background SPEC\n"
    "      colour:RRGGBB | gradient:RRGGBB-RRGGBB | fountain:FILE.fll:INDEX | record:FILE.mtrl\n"
    "      texture:TYPE | texture:NAME | texture:FILE.fft:NAME|INDEX   (NAME: from the shipped glwplug5.fft)\n"
    "      tile:INDEX | tile:FILE.mtx:INDEX                            (INDEX: of the shipped glwplug5.mtx)\n"
    "palette and output:\n"
    "  --palette NAME|INDEX   a standard palette (implies --standard-palette)\n"
    "  --custom-palette, --standard-palette\n"
    "  --dither, --no-dither  --supercompress, --no-supercompress\n"
    "  --transparent          --mask-background, --no-mask-background\n"
    "  --true-colour          --alpha [--alpha-background]   (need .webp or .png)\n"
    "  --comment, --no-comment\n"
    "  --test                 build as the dialog's Test button does\n"
    "  --config FILE          start from a glwplug5.ini instead of the defaults\n"
    "  --quiet                no progress bar\n"
    "  -o, --output FILE      .gif, .webp (animated) or .png (numbered files)";

namespace {

struct Switch {
  const char* on;
  const char* off;
  const char* key;
};

// Switches that are settings keys.
const Switch kSwitches[] = {
    {"--bold", "--no-bold", "MainFontBold"},
    {"--italic", "--no-italic", "MainFontItalic"},
    {"--antialias", "--no-antialias", "MainAntialias"},
    {"--dither", "--no-dither", "MainDither"},
    {"--supercompress", "--no-supercompress", "MainSupercompress"},
    {"--transparent", "--no-transparent", "MainTransparent"},
    {"--mask-background", "--no-mask-background", "MainMaskBackground"},
    {"--true-colour", "--no-true-colour", "Truecolour"},
    {"--alpha", "--no-alpha", "MainAlphaTrans"},
    {"--comment", "--no-comment", "AddDescriptiveCommentBlock"},
};

// Options with a value that set one key.
const std::pair<const char*, const char*> kValueKeys[] = {
    {"--text", "MainText"},   {"--font", "MainFontName"}, {"--size", "MainFontSize"},
    {"--space", "MainFontSpace"}, {"--pad", "MainPadding"}, {"--delay", "MainDelay"},
    {"--pause", "MainPause"},
};

bool isInteger(const std::string& s) {
  if (s.empty()) return false;
  size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
  if (i == s.size()) return false;
  for (; i < s.size(); ++i)
    if (s[i] < '0' || s[i] > '9') return false;
  return true;
}

}  // namespace

bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions* out, std::string* error) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* v) {
      if (i + 1 >= args.size()) {
        *error = a + " needs a value";
        return false;
      }
      *v = args[++i];
      return true;
    };
    std::string v;
    bool handled = false;
    for (const Switch& s : kSwitches) {
      if (a == s.on || a == s.off) {
        out->sets.emplace_back(s.key, a == s.on ? "1" : "0");
        handled = true;
        break;
      }
    }
    if (handled) continue;
    for (const auto& kv : kValueKeys) {
      if (a == kv.first) {
        if (!value(&v)) return false;
        out->sets.emplace_back(kv.second, v);
        handled = true;
        break;
      }
    }
    if (handled) continue;
    if (a == "-o" || a == "--output") {
      if (!value(&out->output)) return false;
    } else if (a == "--set") {
      if (!value(&v)) return false;
      size_t eq = v.find('=');
      if (eq == std::string::npos || eq == 0) {
        *error = "--set takes KEY=VALUE, not '" + v + "'";
        return false;
      }
      out->sets.emplace_back(v.substr(0, eq), v.substr(eq + 1));
    } else if (a == "--effect") {
      if (!value(&v)) return false;
      out->effect = v;
    } else if (a == "--animation") {
      if (!value(&v)) return false;
      out->animation = v;
    } else if (a == "--palette") {
      if (!value(&v)) return false;
      out->palette = v;
      out->customPalette = false;
    } else if (a == "--frames") {
      if (!value(&v)) return false;
      if (!isInteger(v) || std::atol(v.c_str()) < 1) {
        *error = "--frames takes a positive number, not '" + v + "'";
        return false;
      }
      out->frames = int(std::atol(v.c_str()));
    } else if (a == "--custom-palette" || a == "--standard-palette") {
      out->customPalette = a == "--custom-palette";
    } else if (a == "--alpha-background" || a == "--no-alpha-background") {
      out->alphaBackground = a == "--alpha-background";
    } else if (a == "--face" || a == "--shadow" || a == "--background") {
      if (!value(&v)) return false;
      out->materials[a.substr(2)] = v;
    } else if (a == "--config") {
      if (!value(&out->configFile)) return false;
    } else if (a == "--test") {
      out->test = true;
    } else if (a == "--quiet" || a == "-q") {
      out->progress = false;
    } else if (!a.empty() && a[0] != '-' && out->document.empty()) {
      out->document = a;
    } else {
      *error = "unknown option '" + a + "'";
      return false;
    }
  }
  static const char* const kNumericKeys[] = {"MainFontSize", "MainFontSpace", "MainPadding", "MainDelay",
                                             "MainPause"};
  for (const auto& set : out->sets)
    for (const char* key : kNumericKeys)
      if (set.first == key && !isInteger(set.second)) {
        *error = set.first + " takes a number, not '" + set.second + "'";
        return false;
      }
  if (out->output.empty()) {
    *error = "an output file is needed (-o FILE.gif)";
    return false;
  }
  // An animation is material for "Omni" only; naming one picks that effect.
  if (out->animation && !out->effect) out->effect = "Omni";
  return true;
}

void applyOutputDefaults(RenderOptions* options) {
  const std::string& out = options->output;
  std::string tail = out.size() >= 4 ? out.substr(out.size() - 4) : out;
  for (char& c : tail) c = char(std::tolower(static_cast<unsigned char>(c)));
  bool gif = tail == ".gif";
  if (!options->customPalette) options->customPalette = gif;
  if (!gif) return;
  for (const auto& set : options->sets)
    if (set.first == "Truecolour") return;
  options->sets.insert(options->sets.begin(), {"Truecolour", "0"});
}

}  // namespace gw::cli
