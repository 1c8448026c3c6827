#include "cli/material_cli_options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/le_bytes.h"
#include "materials/fountain_record.h"
#include "materials/gradient_settings.h"
#include "materials/material_record.h"
#include "platform/file_replace.h"

namespace gw::cli::material_cli {

namespace {

bool parseShape(const std::string& text, int32_t* shape) {
  static const char* const kNames[] = {"linear", "angular", "elliptical", "rectangular"};
  for (int32_t i = 0; i < 4; ++i)
    if (text == kNames[i]) {
      *shape = i;
      return true;
    }
  long long v;
  if (!parseNumber(text, 0, 3, &v)) return false;
  *shape = int32_t(v);
  return true;
}

bool parsePreset(const std::string& text, FountainPreset* preset) {
  if (text == "empty") *preset = FountainPreset::Empty;
  else if (text == "grey") *preset = FountainPreset::Grey;
  else if (text == "rainbow") *preset = FountainPreset::Rainbow;
  else return false;
  return true;
}

// "POSITION=COLOUR" appended to the fountain, which is then sorted.
bool addMarker(const std::string& text, uint8_t* fountainRecord) {
  size_t eq = text.find('=');
  long long position;
  uint32_t colour;
  if (eq == std::string::npos || !parseNumber(text.substr(0, eq), 1, 255, &position) ||
      !parseColour(text.substr(eq + 1), &colour))
    return false;
  int count = fountainMarkerCount(fountainRecord);
  if (count >= kFountainMaxMarkers) return false;
  writeU32(fountainRecord + fountain::kMarkers + 4 * size_t(count), fountainMakeMarker(int(position), colour));
  writeU32(fountainRecord + fountain::kMarkerCount, uint32_t(count + 1));
  fountainSortMarkers(fountainRecord);
  return true;
}

}  // namespace

bool readBytes(const std::string& path, size_t limit, std::vector<uint8_t>* out, std::string* error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    *error = path + ": cannot open the file";
    return false;
  }
  out->assign(limit + 1, 0);
  size_t n = std::fread(out->data(), 1, out->size(), f);
  const bool failed = std::ferror(f) != 0;  // a folder opens but cannot be read
  std::fclose(f);
  if (failed) {
    *error = path + ": cannot read the file";
    return false;
  }
  out->resize(n);
  return true;
}

bool writeBytes(const std::string& path, const uint8_t* data, size_t size, std::string* error) {
  // Replacing an existing file in one step also works where a plain rename
  // refuses to overwrite (Windows).
  if (writeFileReplacing(path, data, size)) return true;
  *error = path + ": error writing the file";
  return false;
}

bool readGradientFile(const std::string& path, uint8_t* settings, std::string* error) {
  std::vector<uint8_t> bytes;
  if (!readBytes(path, kMaterialRecordSize, &bytes, error)) return false;
  if (bytes.size() == kGradientSettingsSize) {
    std::memcpy(settings, bytes.data(), kGradientSettingsSize);
    return true;
  }
  if (bytes.size() == kFountainRecordSize && std::memcmp(bytes.data(), "QUILFOUN", 8) == 0) {
    std::memcpy(settings + gradient::kFountain, bytes.data(), kFountainRecordSize);
    writeU32(settings + gradient::kColourMode, 0);
    return true;
  }
  if (bytes.size() == kMaterialRecordSize && materialRecordHasMagic(bytes.data())) {
    std::memcpy(settings, bytes.data() + material::kGradient, kGradientSettingsSize);
    return true;
  }
  *error = path + ": not a gradient settings (621 bytes), fountain (581) or material (1270) record";
  return false;
}

bool applyGradientOption(const std::string& name, const std::string& value, uint8_t* settings, bool* known) {
  *known = true;
  long long v;
  uint32_t colour;
  uint8_t* fountainRecord = settings + gradient::kFountain;
  if (name == "--shape") {
    int32_t shape;
    if (!parseShape(value, &shape)) return false;
    writeI32(settings + gradient::kShape, shape);
  } else if (name == "--start" || name == "--end") {
    if (!parseColour(value, &colour)) return false;
    writeU32(settings + (name == "--start" ? gradient::kStartColour : gradient::kEndColour), colour);
  } else if (name == "--edge-pad") {
    if (!parseNumber(value, 0, 45, &v)) return false;
    writeI32(settings + gradient::kEdgePad, int32_t(v));
  } else if (name == "--centre") {
    size_t comma = value.find(',');
    long long x, y;
    if (comma == std::string::npos || !parseNumber(value.substr(0, comma), -100, 100, &x) ||
        !parseNumber(value.substr(comma + 1), -100, 100, &y))
      return false;
    writeI32(settings + gradient::kCentreX, int32_t(x));
    writeI32(settings + gradient::kCentreY, int32_t(y));
  } else if (name == "--midpoint") {
    if (!parseNumber(value, 1, 99, &v)) return false;
    writeI32(settings + gradient::kMidpoint, int32_t(v));
  } else if (name == "--rotation") {
    if (!parseNumber(value, -360, 360, &v)) return false;
    writeI32(settings + gradient::kRotation, int32_t(v));
  } else if (name == "--mode") {
    if (value != "two" && value != "multi") return false;
    writeU32(settings + gradient::kColourMode, value == "two" ? 1 : 0);
  } else if (name == "--preset") {
    FountainPreset preset;
    if (!parsePreset(value, &preset)) return false;
    fountainRecordDefaults(fountainRecord, preset);
  } else if (name == "--fountain-start" || name == "--fountain-end") {
    if (!parseColour(value, &colour)) return false;
    writeU32(fountainRecord + (name == "--fountain-start" ? fountain::kStartColour : fountain::kEndColour),
             colour);
  } else if (name == "--looped") {
    if (!parseNumber(value, 0, 1, &v)) return false;
    uint32_t flags = readU32(fountainRecord + fountain::kFlags) & ~fountain::kFlagLooped;
    writeU32(fountainRecord + fountain::kFlags, flags | (v ? fountain::kFlagLooped : 0));
  } else if (name == "--marker") {
    return addMarker(value, fountainRecord);
  } else {
    *known = false;
  }
  return true;
}

}  // namespace gw::cli::material_cli
