#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/command.h"
#include "cli/png_io.h"
#include "imaging/image_difference.h"
#include "imaging/palette_order.h"
#include "imaging/palette_quantizer.h"
#include "imaging/remap.h"

namespace gw::cli {
namespace {

bool parseInt(const std::string& text, int lo, int hi, int* out) {
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || v < lo || v > hi) return false;
  *out = int(v);
  return true;
}

void printDifference(const ImageDifference& d) {
  if (std::isinf(d.psnr))
    std::printf("PSNR: inf dB (identical)\n");
  else
    std::printf("PSNR: %.3f dB (MSE %.4f)\n", d.psnr, d.meanSquaredError);
}

// `--compare`: the same measure for an image another tool made.
int compare(const std::string& original, const std::string& other) {
  std::string error;
  MemBlock a(readPngAsBitmap(original, &error));
  if (!a) return fail(error);
  MemBlock b(readPngAsBitmap(other, &error));
  if (!b) return fail(error);
  ImageDifference d;
  if (!measureDifference(a.get(), b.get(), &d)) return fail("the images differ in size");
  printDifference(d);
  return kExitOk;
}

}  // namespace

// Quantizes one PNG with the build's own quantizer and remapping, writes the
// 8-bit result and reports the colour count and the PSNR against the input.
int runQuantize(const std::vector<std::string>& args) {
  const Command& self = *findCommand("quantize");
  std::string in, out, other;
  int colours = 256;
  RemapOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* v) {
      if (i + 1 >= args.size()) return false;
      *v = args[++i];
      return true;
    };
    std::string v;
    if (a == "-o" || a == "--output") {
      if (!value(&out)) return usageError(self, "-o needs a file name");
    } else if (a == "--compare") {
      if (!value(&other)) return usageError(self, "--compare needs a file name");
    } else if (a == "--colors" || a == "--colours") {
      if (!value(&v) || !parseInt(v, 1, 256, &colours))
        return usageError(self, "--colors needs a count from 1 to 256");
    } else if (a == "--dither") {
      options.dither = true;
    } else if (a == "--fast") {
      options.fastRemap = true;
    } else if (a == "--brightness") {
      if (!value(&v) || !parseInt(v, 0, 100, &options.ditherBrightness))
        return usageError(self, "--brightness needs a value from 0 to 100");
    } else if (a == "--contrast") {
      if (!value(&v) || !parseInt(v, 0, 255, &options.ditherContrast))
        return usageError(self, "--contrast needs a value from 0 to 255");
    } else if (in.empty() && !a.empty() && a[0] != '-') {
      in = a;
    } else {
      return usageError(self, "unexpected argument '" + a + "'");
    }
  }
  if (in.empty()) return usageError(self, "needs an input PNG");
  if (!other.empty()) {
    if (!out.empty()) return usageError(self, "--compare takes no -o");
    return compare(in, other);
  }
  if (out.empty()) return usageError(self, "needs -o OUT.png");

  std::string error;
  MemBlock image(readPngAsBitmap(in, &error));
  if (!image) return fail(error);
  uint8_t palette[768];
  int count = 0;
  const MemHandle handles[1] = {image.get()};
  QuantizeStats stats;
  if (!quantizeBitmaps(handles, 1, colours, palette, &count, &stats)) return fail("out of memory while quantizing");
  orderPalette(palette, count);
  MemBlock remapped(remapToPalette(image.get(), palette, count, options));
  if (!remapped) return fail("out of memory while remapping");
  if (!writeBitmapAsPng(remapped.get(), out, &error)) return fail(error);
  ImageDifference d;
  if (!measureDifference(image.get(), remapped.get(), &d)) return fail("cannot measure the result");
  if (stats.precision == 8)
    std::printf("colours: %d (%zu in the image)\n", count, stats.distinctColours);
  else  // too many colours for the histogram's budget: it kept fewer bits
    std::printf("colours: %d (more than the histogram keeps exactly: %zu entries at %d bits per channel)\n",
                count, stats.distinctColours, stats.precision);
  printDifference(d);
  return kExitOk;
}

}  // namespace gw::cli
