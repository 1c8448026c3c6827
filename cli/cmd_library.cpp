// glyphwright library: the fountain library from the command line — list it,
// add a fountain, take one out as a record or a picture, or bring in a GIMP
// gradient.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "cli/command.h"
#include "cli/material_cli_options.h"
#include "cli/png_io.h"
#include "materials/fountain_fit.h"
#include "materials/fountain_library.h"
#include "materials/fountain_record.h"
#include "materials/fountain_render.h"
#include "materials/gimp_gradient.h"
#include "materials/gradient_colour_table.h"
#include "materials/gradient_settings.h"
#include "platform/system_state.h"

namespace gw::cli {
namespace {

using namespace material_cli;

// No real gradient file comes near this; a bigger one is refused unread.
constexpr size_t kMaxGgrBytes = 1 << 20;

std::string hexColour(uint32_t c) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02X%02X%02X", unsigned(c & 0xFF), unsigned((c >> 8) & 0xFF),
                unsigned((c >> 16) & 0xFF));
  return text;
}

int loadFailure(const std::string& path, FountainLibraryStatus status) {
  return fail(path + ": " + fountainLibraryStatusText(status));
}

int listLibrary(const std::string& path) {
  std::vector<uint8_t> header;
  FountainLibraryList list;
  FountainLibraryStatus status = fountainLibraryLoad(path, 0, 0, &list);
  if (status != FountainLibraryStatus::Ok) return loadFailure(path, status);
  std::string error;
  if (!readBytes(path, fountain_library::kHeaderSize - 1, &header, &error) ||
      header.size() < fountain_library::kHeaderSize)
    return fail(path + ": cannot read the header");
  std::printf("created:  %s\n", ctimeText(readU32(header.data() + fountain_library::kCreationTime)).c_str());
  std::printf("entries:  %zu\n", list.size());
  for (size_t i = 0; i < list.size(); ++i) {
    const uint8_t* f = list[i].record;
    const int32_t stored = readI32(f + fountain::kMarkerCount);
    std::printf("%4zu  %2d markers  start %s  end %s", i, int(stored), hexColour(readU32(f + fountain::kStartColour)).c_str(),
                hexColour(readU32(f + fountain::kEndColour)).c_str());
    for (int m = 0; m < fountainMarkerCount(f); ++m) {
      uint32_t marker = fountainMarker(f, m);
      std::printf("  %d:%s", fountainMarkerPosition(marker), hexColour(fountainMarkerColour(marker)).c_str());
    }
    std::printf("\n");
  }
  return kExitOk;
}

// A two-colour gradient as the fountain that draws the same ramp.
bool fountainOfTwoColour(const uint8_t* settings, uint8_t* f) {
  ColourTable table;
  if (!table.build(settings, 256)) return false;
  uint32_t samples[256];
  for (int k = 0; k < 256; ++k) samples[k] = table.at(k);
  fountainFitSamples(samples, {}, f);
  return true;
}

int addToLibrary(const std::vector<std::string>& args) {
  const Command& self = *findCommand("library");
  const std::string& path = args[1];
  uint8_t settings[kGradientSettingsSize];
  gradientSettingsDefaults(settings);
  bool twoColour = false;
  size_t i = 2;
  std::string error;
  if (i < args.size() && args[i].compare(0, 2, "--") != 0) {
    if (!readGradientFile(args[i], settings, &error)) return fail(error);
    twoColour = readU32(settings + gradient::kColourMode) == 1;
    ++i;
  }
  uint8_t* f = settings + gradient::kFountain;
  if (twoColour && !fountainOfTwoColour(settings, f)) return fail("out of memory");
  for (; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a != "--preset" && a != "--fountain-start" && a != "--fountain-end" && a != "--marker")
      return usageError(self, "unknown option " + a);
    if (i + 1 >= args.size()) return usageError(self, a + " needs a value");
    bool known = false;
    if (!applyGradientOption(a, args[i + 1], settings, &known)) return usageError(self, "bad value for " + a + ": " + args[i + 1]);
    ++i;
  }
  if (!fountainLibraryAdd(path, f)) {
    FountainLibraryList list;
    FountainLibraryStatus status = fountainLibraryLoad(path, 0, 0, &list);
    if (status != FountainLibraryStatus::Ok && status != FountainLibraryStatus::Missing) return loadFailure(path, status);
    return fail(path + ": There has been an error adding this library entry.");
  }
  FountainLibraryList list;
  fountainLibraryLoad(path, 0, 0, &list);
  std::printf("%s: entry %zu added (%d markers)\n", path.c_str(), list.empty() ? 0 : list.size() - 1,
              fountainMarkerCount(f));
  return kExitOk;
}

bool endsWith(const std::string& s, const char* tail) {
  size_t n = std::strlen(tail);
  if (s.size() < n) return false;
  for (size_t i = 0; i < n; ++i)
    if (std::tolower(static_cast<unsigned char>(s[s.size() - n + i])) != tail[i]) return false;
  return true;
}

int extractEntry(const std::vector<std::string>& args) {
  const Command& self = *findCommand("library");
  const std::string& path = args[1];
  long long index = 0;
  if (!parseNumber(args[2], 0, 0x7FFFFFFF, &index)) return usageError(self, "bad index " + args[2]);
  std::vector<std::string> outputs;
  int32_t w = 256, h = 32;
  for (size_t i = 3; i < args.size(); ++i) {
    if (i + 1 >= args.size()) return usageError(self, args[i] + " needs a value");
    if (args[i] == "-o") {
      outputs.push_back(args[++i]);
    } else if (args[i] == "--size") {
      if (!parseImageSize(args[++i], &w, &h)) return usageError(self, "bad size " + args[i]);
    } else {
      return usageError(self, "unknown option " + args[i]);
    }
  }
  if (outputs.empty()) return usageError(self, "extract needs -o OUT.png or -o OUT.mtrl");
  FountainLibraryList list;
  FountainLibraryStatus status = fountainLibraryLoad(path, 0, 0, &list);
  if (status != FountainLibraryStatus::Ok) return loadFailure(path, status);
  if (size_t(index) >= list.size())
    return fail(path + ": no entry " + args[2] + " (the library holds " + std::to_string(list.size()) + ")");
  const uint8_t* f = list[size_t(index)].record;
  std::string error;
  for (const std::string& out : outputs) {
    if (endsWith(out, ".png")) {
      MemBlock ramp(fountainRender(f, w, h));
      if (!ramp) return fail("the ramp could not be drawn at " + std::to_string(w) + " x " + std::to_string(h));
      if (!writeBitmapAsPng(ramp.get(), out, &error)) return fail(error);
    } else if (!writeBytes(out, f, kFountainRecordSize, &error)) {
      return fail(error);
    }
  }
  return kExitOk;
}

int importGradient(const std::vector<std::string>& args) {
  const Command& self = *findCommand("library");
  const std::string& source = args[1];
  std::string library;
  for (size_t i = 2; i < args.size(); ++i) {
    if (args[i] != "-o" || i + 1 >= args.size()) return usageError(self, "import takes GRADIENT.ggr [-o FILE.fll]");
    library = args[++i];
  }
  if (library.empty()) {
    // The plug-in's own library, so the gradient shows in its dialog.
    library = fountainLibraryPath();
    if (library.empty()) return fail("no application-data folder for the plug-in's library; name one with -o");
    std::error_code ignored;
    std::filesystem::create_directories(std::filesystem::path(library).parent_path(), ignored);
  }
  std::vector<uint8_t> bytes;
  std::string error;
  if (!readBytes(source, kMaxGgrBytes, &bytes, &error)) return fail(error);
  if (bytes.size() > kMaxGgrBytes) return fail(source + ": too large for a gradient");
  GimpGradient g;
  if (!parseGimpGradient(std::string(bytes.begin(), bytes.end()), &g, &error)) return fail(source + ": " + error);
  uint8_t f[kFountainRecordSize];
  FountainFit fit = fountainFromGimpGradient(g, f);
  if (!fit.edgesKept)
    warn(std::to_string(g.segments.size()) + " segments are more than 64 markers can hold: the markers go where the "
         "ramp changes most, and some segment edges are smoothed");
  if (!fountainLibraryAdd(library, f)) {
    FountainLibraryList list;
    FountainLibraryStatus status = fountainLibraryLoad(library, 0, 0, &list);
    if (status != FountainLibraryStatus::Ok && status != FountainLibraryStatus::Missing) return loadFailure(library, status);
    return fail(library + ": There has been an error adding this library entry.");
  }
  FountainLibraryList list;
  fountainLibraryLoad(library, 0, 0, &list);
  std::printf("%s: \"%s\" (%zu segments) added as entry %zu with %d markers; largest difference %d/255\n",
              library.c_str(), g.name.c_str(), g.segments.size(), list.empty() ? 0 : list.size() - 1, fit.markers,
              fit.largestError);
  return kExitOk;
}

}  // namespace

int runLibrary(const std::vector<std::string>& args) {
  const Command& self = *findCommand("library");
  if (args.size() < 2) return usageError(self, "");
  const std::string& verb = args[0];
  if (verb == "list" && args.size() == 2) return listLibrary(args[1]);
  if (verb == "add") return addToLibrary(args);
  if (verb == "extract" && args.size() >= 3) return extractEntry(args);
  if (verb == "import") return importGradient(args);
  return usageError(self, "");
}

}  // namespace gw::cli
