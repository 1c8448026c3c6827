#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/cli_values.h"
#include "cli/command.h"
#include "cli/group_items.h"
#include "materials/group_folder.h"
#include "materials/material_record.h"
#include "cli/png_io.h"
#include "materials/texture_group.h"
#include "materials/texture_generate.h"
#include "materials/texture_settings.h"

namespace gw::cli {
namespace {

namespace ts = texture_settings;

// Reads a bare 268-byte settings record or a material record holding one.
bool readSettingsFile(const std::string& path, uint8_t* settings, std::string* error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    *error = path + ": cannot open the file";
    return false;
  }
  std::vector<uint8_t> bytes(kMaterialRecordSize + 1);
  size_t n = std::fread(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  if (n == ts::kSize) {
    std::memcpy(settings, bytes.data(), ts::kSize);
    return true;
  }
  if (n == kMaterialRecordSize && std::memcmp(bytes.data(), "QUILCMAT", 8) == 0) {
    std::memcpy(settings, bytes.data() + material::kTexture, ts::kSize);
    return true;
  }
  *error = path + ": not a texture settings record (268 bytes) or a material record";
  return false;
}

bool writeSettingsFile(const std::string& path, const uint8_t* settings, std::string* error) {
  std::string temp = path + ".tmp";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  bool ok = f && std::fwrite(settings, 1, ts::kSize, f) == ts::kSize;
  if (f) ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    *error = path + ": error writing the file";
    return false;
  }
  return true;
}

// Options that set one field: name, offset, kind ('u' unsigned, 'i' signed,
// 'c' colour, 'f' real), and for layer fields the stride between layers.
struct FieldOption {
  const char* name;
  size_t offset;
  char kind;
  bool perLayer;
};

const FieldOption kFields[] = {
    {"--type", ts::kType, 'u', false},
    {"--mesh", ts::kMeshSize, 'u', false},
    {"--back", ts::kBackColour, 'c', false},
    {"--fore", ts::kForeColours, 'c', true},
    {"--power", ts::kPowers, 'f', true},
    {"--seed", ts::kSeeds, 'u', true},
    {"--dimension", ts::kDimensions, 'f', true},
    {"--craters", ts::kCraterCount, 'u', false},
    {"--depth", ts::kCraterDepth, 'f', false},
    {"--bubbles", ts::kBubbleCount, 'i', false},
    {"--bubble-size", ts::kBubbleSize, 'u', false},
    {"--bubble-power", ts::kBubblePower, 'f', false},
    {"--perturbation", ts::kPerturbationPower, 'f', false},
    {"--shape", ts::kBubbleShape, 'u', false},
};

const FieldOption* findField(const std::string& name) {
  for (const FieldOption& f : kFields)
    if (name == f.name) return &f;
  return nullptr;
}

// "VALUE" sets layer 1; "K=VALUE" sets layer K (1..5).
bool applyField(const FieldOption& field, const std::string& text, uint8_t* settings) {
  size_t offset = field.offset;
  std::string value = text;
  if (field.perLayer) {
    size_t eq = text.find('=');
    if (eq != std::string::npos) {
      long long layer;
      if (!parseNumber(text.substr(0, eq), 1, ts::kLayerCount, &layer)) return false;
      offset += 4 * size_t(layer - 1);
      value = text.substr(eq + 1);
    }
  }
  long long v;
  float f;
  switch (field.kind) {
    case 'u':
      if (!parseNumber(value, 0, 0xFFFFFFFFLL, &v)) return false;
      writeU32(settings + offset, uint32_t(v));
      return true;
    case 'i':
      if (!parseNumber(value, INT32_MIN, INT32_MAX, &v)) return false;
      writeI32(settings + offset, int32_t(v));
      return true;
    case 'c':
      if (!parseNumber(value, 0, 0xFFFFFF, &v)) return false;
      writeU32(settings + offset, uint32_t(v));
      return true;
    default:
      if (!parseFloat(value, &f)) return false;
      ts::writeF32(settings + offset, f);
      return true;
  }
}

// Prints a group's items: index, generator and name.
int listItems(const std::string& path, const TextureGroup& group) {
  std::printf("%s: %zu textures, %s\n", path.c_str(), group.items.size(),
              group.writeable ? "writeable" : "read-only");
  for (size_t i = 0; i < group.items.size(); ++i) {
    const char* type = textureTypeName(readU32(group.items[i].settings.data() + ts::kType));
    std::printf("%4zu  %-16s %s\n", i, type ? type : "?", group.items[i].name.c_str());
  }
  return kExitOk;
}

}  // namespace

// Renders a texture to a PNG, from defaults, a record file and options, in
// that order of precedence (options last).
int runTexture(const std::vector<std::string>& args) {
  const Command& self = *findCommand("texture");
  uint8_t settings[ts::kSize];
  textureSettingsDefaults(settings);
  int32_t w = 256, h = 256;
  std::string output, settingsOut, error;
  // The record file or group item first, so options given anywhere override it.
  std::string groupPath, item;
  bool list = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--list") list = true;
    if (i + 1 >= args.size()) continue;
    if (args[i] == "--settings" && !readSettingsFile(args[i + 1], settings, &error)) return fail(error);
    if (args[i] == "--group") groupPath = args[i + 1];
    if (args[i] == "--item") item = args[i + 1];
  }
  if (list) {
    std::string path = groupPath.empty() ? primaryGroupPath(kPrimaryTextureGroup, &error) : groupPath;
    if (path.empty()) return fail(error);
    TextureGroup group;
    if (!textureGroupRead(path, &group))
      return fail(path + ": There has been an error importing the selected texture file. The file may be damaged.");
    return listItems(path, group);
  }
  if (!groupPath.empty() && item.empty()) return usageError(self, "--group needs --item NAME|INDEX (or --list)");
  if (!item.empty() && !loadTextureItem(groupPath, item, settings, &error)) return fail(error);
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "-o" || (a.size() > 2 && a.compare(0, 2, "--") == 0)) {
      if (i + 1 >= args.size()) return usageError(self, a + " needs a value");
      const std::string& value = args[++i];
      if (a == "--settings" || a == "--group" || a == "--item") continue;
      if (a == "-o" || a == "--output") {
        if (!output.empty()) return usageError(self, "more than one output file");
        output = value;
      } else if (a == "--size") {
        if (!parseImageSize(value, &w, &h, kTextureMaxSide)) return usageError(self, "bad size " + value);
      } else if (a == "--write-settings") {
        settingsOut = value;
      } else if (const FieldOption* field = findField(a)) {
        if (!applyField(*field, value, settings)) return usageError(self, "bad value for " + a + ": " + value);
      } else {
        return usageError(self, "unknown option " + a);
      }
    } else if (output.empty()) {
      output = a;
    } else {
      return usageError(self, "more than one output file");
    }
  }
  if (output.empty() && settingsOut.empty()) return usageError(self, "no output file");
  if (readU32(settings + ts::kType) >= kTextureTypeCount) return fail("texture type must be 0 to 5");
  if (!settingsOut.empty() && !writeSettingsFile(settingsOut, settings, &error)) return fail(error);
  if (output.empty()) return kExitOk;
  textureSetOutputRect(settings, 0, 0, w, h);
  MemBlock bitmap(textureGenerate(settings));
  if (!bitmap) return fail("the texture could not be generated");
  if (!writeBitmapAsPng(bitmap.get(), output, &error)) return fail(error);
  return kExitOk;
}

}  // namespace gw::cli
