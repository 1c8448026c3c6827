// The options of `glyphwright render`, parsed from the command line.
//
// Everything a user sets in the plug-in's dialog has an option: settings keys
// directly (--set Style000Frames=32) or through friendly aliases (--frames 32,
// --text "Hello"), and the build switches of the dialog. Parsing only reads
// the words; applying them to the settings record and the dialog is
// cmd_render.cpp's job.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace gw::cli {

struct RenderOptions {
  std::string output;                                    // -o FILE (.gif, .webp or .png)
  std::vector<std::pair<std::string, std::string>> sets;  // settings keys and values, in order
  std::optional<std::string> effect;                     // name or index
  std::optional<std::string> animation;                  // --animation FILE: what the host hands over on request
  std::optional<std::string> palette;                    // name or index of a standard palette
  std::optional<int> frames;                             // the effect's Frames key
  std::optional<bool> customPalette;                     // no settings key: a dialog switch only
  std::optional<bool> alphaBackground;
  std::map<std::string, std::string> materials;          // "face", "shadow", "background" -> what to paint with
  std::string configFile;                                // --config FILE: start from this file
  std::string document;                                  // DOC.gw5: start from this effect document
  bool test = false;                                     // build as the Test button does
  bool progress = true;                                  // a bar on stderr when it is a terminal
};

// Fills `out` from the words after "render"; false with a one-line complaint
// in *error on a usage error.
bool parseRenderOptions(const std::vector<std::string>& args, RenderOptions* out, std::string* error);

// A GIF target gets the palette computed from its own frames unless told
// otherwise, and is not true colour (the settings' default) unless asked to be.
void applyOutputDefaults(RenderOptions* options);

// The text after "usage: glyphwright render".
extern const char kRenderUsage[];

}  // namespace gw::cli
