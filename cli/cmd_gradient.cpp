#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "cli/command.h"
#include "cli/png_io.h"
#include "materials/fountain_record.h"
#include "materials/gradient_render.h"
#include "materials/gradient_settings.h"
#include "materials/material_record.h"

namespace gw::cli {

// Shared by the gradient and material commands (declared where used).
bool parseNumber(const std::string& text, long long lo, long long hi, long long* out);
bool parseColour(const std::string& text, uint32_t* out);
bool parseImageSize(const std::string& text, int32_t* w, int32_t* h);
bool readBytes(const std::string& path, size_t limit, std::vector<uint8_t>* out, std::string* error);
bool writeBytes(const std::string& path, const uint8_t* data, size_t size, std::string* error);

bool parseNumber(const std::string& text, long long lo, long long hi, long long* out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(text.c_str(), &end, 0);
  if (errno || *end || v < lo || v > hi) return false;
  *out = v;
  return true;
}

// "#RRGGBB" as on the web, or a colour value 0x00BBGGRR as the records hold it.
bool parseColour(const std::string& text, uint32_t* out) {
  long long v;
  if (!text.empty() && text[0] == '#') {
    if (text.size() != 7 || !parseNumber("0x" + text.substr(1), 0, 0xFFFFFF, &v)) return false;
    *out = uint32_t(((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16));
    return true;
  }
  if (!parseNumber(text, 0, 0xFFFFFF, &v)) return false;
  *out = uint32_t(v);
  return true;
}

bool parseImageSize(const std::string& text, int32_t* w, int32_t* h) {
  size_t x = text.find('x');
  long long a, b;
  if (x == std::string::npos || !parseNumber(text.substr(0, x), 1, 8192, &a) ||
      !parseNumber(text.substr(x + 1), 1, 8192, &b))
    return false;
  *w = int32_t(a);
  *h = int32_t(b);
  return true;
}

// Reads at most `limit` + 1 bytes, so a caller can tell an over-long file.
bool readBytes(const std::string& path, size_t limit, std::vector<uint8_t>* out, std::string* error) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) {
    *error = path + ": cannot open the file";
    return false;
  }
  out->assign(limit + 1, 0);
  size_t n = std::fread(out->data(), 1, out->size(), f);
  std::fclose(f);
  out->resize(n);
  return true;
}

bool writeBytes(const std::string& path, const uint8_t* data, size_t size, std::string* error) {
  std::string temp = path + ".tmp";
  std::FILE* f = std::fopen(temp.c_str(), "wb");
  bool ok = f && std::fwrite(data, 1, size, f) == size;
  if (f) ok = std::fclose(f) == 0 && ok;
  if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    *error = path + ": error writing the file";
    return false;
  }
  return true;
}

namespace {

// A gradient settings record (621 bytes), a fountain record (581 bytes, used
// in multi-colour mode) or a material record holding gradient settings.
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

// Applies one option to a gradient settings record; false for a bad value.
// Returns true with *known = false for an option that is not a gradient's.
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

}  // namespace

// Exposed for the material command, which takes the same gradient options.
bool applyGradientCliOption(const std::string& name, const std::string& value, uint8_t* settings, bool* known) {
  return applyGradientOption(name, value, settings, known);
}
bool readGradientCliFile(const std::string& path, uint8_t* settings, std::string* error) {
  return readGradientFile(path, settings, error);
}

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
