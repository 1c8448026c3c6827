#include "cli/png_io.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <new>
#include <vector>

#include "platform/bitmap.h"

namespace gw::cli {
namespace {

struct PngFile {
  FILE* f = nullptr;
  ~PngFile() {
    if (f) std::fclose(f);
  }
};

}  // namespace

MemHandle readPngAsBitmap(const std::string& path, std::string* error) {
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) {
    *error = path + ": " + image.message;
    return 0;
  }
  image.format = PNG_FORMAT_BGR;
  // The header's size is checked before a byte is allocated for it: a tiny
  // file may claim 65535 x 65535, and PNG_IMAGE_SIZE wraps in 32 bits.
  const uint64_t pixelCount = uint64_t(image.width) * image.height;
  if (image.width == 0 || image.height == 0 || image.width > 65535 || image.height > 65535 ||
      pixelCount > kPngPixelLimit) {
    png_image_free(&image);
    *error = path + ": " + std::to_string(image.width) + " x " + std::to_string(image.height) +
             " pixels; images up to " + std::to_string(kPngPixelLimit >> 20) + " megapixels are read";
    return 0;
  }
  std::vector<uint8_t> pixels;
  try {
    pixels.resize(size_t(pixelCount) * 3);
  } catch (const std::bad_alloc&) {
    png_image_free(&image);
    *error = "out of memory";
    return 0;
  }
  png_color black = {0, 0, 0};
  if (!png_image_finish_read(&image, &black, pixels.data(), 0, nullptr)) {
    *error = path + ": " + image.message;
    return 0;
  }
  MemBlock bmp(bitmapCreateTrueColour(int32_t(image.width), int32_t(image.height), 24));
  MemLock lock(bmp.get());
  BitmapView view = BitmapView::of(lock);
  if (!view.valid()) {
    *error = "out of memory";
    return 0;
  }
  size_t rowBytes = size_t(image.width) * 3;
  for (int32_t y = 0; y < view.height(); ++y)
    std::memcpy(view.row(y), pixels.data() + size_t(y) * rowBytes, rowBytes);
  return bmp.release();
}

bool writeBitmapAsPng(MemHandle bitmap, const std::string& path, std::string* error) {
  MemLock lock(bitmap);
  BitmapView view = BitmapView::of(lock);
  if (!view.valid()) {
    *error = "not a bitmap";
    return false;
  }
  const int32_t w = view.width(), h = view.height();
  std::string temp = path + ".tmp";
  PngFile file;
  file.f = std::fopen(temp.c_str(), "wb");
  if (!file.f) {
    *error = temp + ": cannot create the file";
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!png || !info) {
    png_destroy_write_struct(&png, &info);
    *error = "out of memory";
    return false;
  }
  std::vector<uint8_t> row;
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(file.f);
    file.f = nullptr;
    std::remove(temp.c_str());
    *error = path + ": error writing the file";
    return false;
  }
  png_init_io(png, file.f);
  const int bits = view.bits();
  if (bits <= 8) {
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette(size_t(view.colourTableEntries()));
    for (size_t i = 0; i < palette.size(); ++i) {
      const uint8_t* e = view.colourTable() + i * 4;
      palette[i] = png_color{e[2], e[1], e[0]};
    }
    png_set_PLTE(png, info, palette.data(), int(palette.size()));
  } else {
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8,
                 bits == 32 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  }
  png_write_info(png, info);
  row.resize(size_t(w) * 4);
  for (int32_t y = 0; y < h; ++y) {
    for (int32_t x = 0; x < w; ++x) {
      uint32_t v = uint32_t(view.getPixel(x, y));
      if (bits <= 8) {
        row[size_t(x)] = uint8_t(v);
      } else if (bits == 24) {
        row[size_t(x) * 3 + 0] = uint8_t(v);
        row[size_t(x) * 3 + 1] = uint8_t(v >> 8);
        row[size_t(x) * 3 + 2] = uint8_t(v >> 16);
      } else {
        row[size_t(x) * 4 + 0] = uint8_t(v);
        row[size_t(x) * 4 + 1] = uint8_t(v >> 8);
        row[size_t(x) * 4 + 2] = uint8_t(v >> 16);
        row[size_t(x) * 4 + 3] = uint8_t(v >> 24);
      }
    }
    png_write_row(png, row.data());
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  bool closed = std::fclose(file.f) == 0;
  file.f = nullptr;
  if (!closed || std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    *error = path + ": error writing the file";
    return false;
  }
  return true;
}

}  // namespace gw::cli
