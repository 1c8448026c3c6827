// Not a benchmark: writes the benchmark pictures (bench_images.h) as binary
// PPM files for the comparison script, which converts them to PNG. It has its
// own main, so the benchmark library's main is not linked in.
//
//   make_bench_images OUTDIR [WIDTH HEIGHT]
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bench_images.h"

int main(int argc, char** argv) {
  if (argc != 2 && argc != 4) {
    std::fprintf(stderr, "usage: make_bench_images OUTDIR [WIDTH HEIGHT]\n");
    return 2;
  }
  int w = argc == 4 ? std::atoi(argv[2]) : 800, h = argc == 4 ? std::atoi(argv[3]) : 600;
  if (w < 16 || h < 16 || w > 8192 || h > 8192) {
    std::fprintf(stderr, "make_bench_images: size must be 16..8192\n");
    return 2;
  }
  for (const std::string& kind : gw::bench::imageKinds()) {
    gw::bench::RgbImage img = gw::bench::makeImage(kind, w, h, 1);
    std::string path = std::string(argv[1]) + "/" + kind + ".ppm";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
      std::fprintf(stderr, "make_bench_images: cannot create %s\n", path.c_str());
      return 1;
    }
    std::fprintf(f, "P6\n%d %d\n255\n", w, h);
    bool ok = std::fwrite(img.rgb.data(), 1, img.rgb.size(), f) == img.rgb.size();
    if (std::fclose(f) != 0 || !ok) {
      std::fprintf(stderr, "make_bench_images: cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
