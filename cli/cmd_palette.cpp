#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command.h"
#include "imaging/standard_palette.h"
#include "platform/string_table.h"

namespace gw::cli {
namespace {

std::string paletteName(int type) {
  if (type == kPaletteEightColour) return "Eight-color";
  if (type < kPaletteBlackAndWhite || type > kPalette256Gray) type = kPalette256Orthogonal;
  return loadString(kPaletteNameStringBase + type);
}

// A GIMP palette: header, then one "R G B<tab>name" line per colour.
std::string gimpPalette(int type) {
  uint8_t palette[kPaletteBytes];
  int count = standardPalette(type, palette, nullptr);
  std::string text = "GIMP Palette\nName: " + paletteName(type) + "\nColumns: 16\n#\n";
  char line[64];
  for (int i = 0; i < count; ++i) {
    std::snprintf(line, sizeof line, "%3d %3d %3d\tIndex %d\n", palette[i * 3], palette[i * 3 + 1],
                  palette[i * 3 + 2], i);
    text += line;
  }
  return text;
}

bool writeFileReplacing(const std::string& path, const std::string& text, std::string* error) {
  const std::string temp = path + ".tmp";
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) {
    *error = "cannot create " + temp;
    return false;
  }
  bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  ok = (std::fclose(f) == 0) && ok;
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    // Where rename cannot replace an existing file, make room and retry.
    std::remove(path.c_str());
    ok = std::rename(temp.c_str(), path.c_str()) == 0;
  }
  if (!ok) {
    std::remove(temp.c_str());
    *error = "cannot write " + path;
  }
  return ok;
}

}  // namespace

// Writes a standard palette as a GIMP palette, to a file or to stdout.
int runPalette(const std::vector<std::string>& args) {
  const Command& self = *findCommand("palette");
  std::string out;
  std::string typeText;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o" || args[i] == "--output") {
      if (i + 1 >= args.size()) return usageError(self, "-o needs a file name");
      out = args[++i];
    } else if (typeText.empty() && !args[i].empty() &&
               (args[i][0] != '-' || (args[i].size() > 1 && std::isdigit(uint8_t(args[i][1]))))) {
      typeText = args[i];
    } else {
      return usageError(self, "unexpected argument '" + args[i] + "'");
    }
  }
  if (typeText.empty()) return usageError(self, "needs a palette type");
  errno = 0;
  char* end = nullptr;
  long type = std::strtol(typeText.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || type < -2147483647L || type > 2147483647L)
    return usageError(self, "palette type must be a number (0-9; others give 6)");
  std::string text = gimpPalette(int(type));
  if (out.empty()) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    return kExitOk;
  }
  std::string error;
  if (!writeFileReplacing(out, text, &error)) return fail(error);
  return kExitOk;
}

}  // namespace gw::cli
