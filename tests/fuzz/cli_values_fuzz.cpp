// Command-line values: numbers, colours, sizes and whole render option lists
// (split on NUL bytes into arguments).
#include <string>
#include <vector>

#include "cli/cli_values.h"
#include "cli/render_options.h"
#include "tests/fuzz/fuzz_target.h"

GW_FUZZ_TARGET(cli_values) {
  using namespace gw::cli;
  const std::string text(reinterpret_cast<const char*>(data), size);
  long long n = 0;
  if (parseNumber(text, -1000, 1000, &n)) GW_FUZZ_CHECK(n >= -1000 && n <= 1000);
  float f = 0;
  parseFloat(text, &f);
  uint32_t colour = 0;
  if (parseColour(text, &colour)) GW_FUZZ_CHECK(colour <= 0xFFFFFF);
  int32_t w = 0, h = 0;
  if (parseImageSize(text, &w, &h)) GW_FUZZ_CHECK(w >= 1 && h >= 1 && w <= 8192 && h <= 8192);
}

GW_FUZZ_TARGET(render_options) {
  std::vector<std::string> args;
  std::string current;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      args.push_back(current);
      current.clear();
    } else {
      current += char(data[i]);
    }
  }
  args.push_back(current);
  gw::cli::RenderOptions options;
  std::string error;
  gw::cli::parseRenderOptions(args, &options, &error);
}
