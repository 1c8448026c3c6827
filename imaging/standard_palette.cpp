#include "imaging/standard_palette.h"

#include <cstring>

namespace gw {
namespace {

constexpr uint8_t kL8[8] = {0, 36, 72, 108, 144, 180, 216, 255};
constexpr uint8_t kL4[4] = {0, 85, 170, 255};
constexpr uint8_t kL2[2] = {0, 255};

constexpr uint8_t kSixteen[16][3] = {
    {0, 0, 0},     {128, 0, 0},   {0, 128, 0},   {128, 128, 0},   {0, 0, 128},     {128, 0, 128},
    {0, 128, 128}, {128, 128, 128}, {192, 192, 192}, {255, 0, 0}, {0, 255, 0},     {255, 255, 0},
    {0, 0, 255},   {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

constexpr uint8_t kEight[8][3] = {{0, 0, 0},   {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                  {0, 0, 255}, {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};

// The grey cube: 7 red, 8 green and 4 blue levels around 32 inserted greys.
constexpr uint8_t kGreyCubeRed[7] = {0, 43, 85, 128, 170, 213, 255};
constexpr uint8_t kGreyCubeGreen[8] = {0, 36, 73, 109, 146, 182, 219, 255};
constexpr uint8_t kGreyCubeBlue[4] = {0, 85, 170, 255};
constexpr uint8_t kInsertedGreys[32] = {1,   8,   16,  24,  32,  41,  49,  57,  65,  74,  82,
                                        90,  98,  106, 115, 123, 131, 139, 148, 156, 164, 172,
                                        180, 189, 197, 205, 213, 222, 230, 238, 246, 254};
constexpr int kGreyInsertAt = 112;

struct Entry {
  int count;
  int bits;
};

void put(uint8_t* p, int index, int r, int g, int b) {
  p[index * 3 + 0] = uint8_t(r);
  p[index * 3 + 1] = uint8_t(g);
  p[index * 3 + 2] = uint8_t(b);
}

Entry fill(int type, uint8_t* p) {
  switch (type) {
    case kPaletteBlackAndWhite:
      if (p) put(p, 1, 255, 255, 255);
      return {2, 1};
    case kPaletteSixteenColour:
      if (p) std::memcpy(p, kSixteen, sizeof kSixteen);
      return {16, 4};
    case kPalette32Orthogonal:
      if (p)
        for (int r = 0; r < 4; ++r)
          for (int g = 0; g < 4; ++g)
            for (int b = 0; b < 2; ++b) put(p, r * 8 + g * 2 + b, kL4[r], kL4[g], kL2[b]);
      return {32, 5};
    case kPalette64Orthogonal:
      if (p)
        for (int r = 0; r < 4; ++r)
          for (int g = 0; g < 4; ++g)
            for (int b = 0; b < 4; ++b) put(p, r * 16 + g * 4 + b, kL4[r], kL4[g], kL4[b]);
      return {64, 6};
    case kPalette128Orthogonal:
      if (p)
        for (int r = 0; r < 4; ++r)
          for (int g = 0; g < 8; ++g)
            for (int b = 0; b < 4; ++b) put(p, r * 32 + g * 4 + b, kL4[r], kL8[g], kL4[b]);
      return {128, 7};
    case kPalette216Safe:
      if (p)
        for (int g = 0; g < 6; ++g)
          for (int r = 0; r < 6; ++r)
            for (int b = 0; b < 6; ++b) put(p, g * 36 + r * 6 + b, 51 * r, 51 * g, 51 * b);
      return {216, 8};
    case kPalette256WithGray:
      if (p) {
        for (int r = 0; r < 7; ++r)
          for (int g = 0; g < 8; ++g)
            for (int b = 0; b < 4; ++b) {
              int k = r * 32 + g * 4 + b;
              put(p, k < kGreyInsertAt ? k : k + 32, kGreyCubeRed[r], kGreyCubeGreen[g],
                  kGreyCubeBlue[b]);
            }
        for (int i = 0; i < 32; ++i)
          put(p, kGreyInsertAt + i, kInsertedGreys[i], kInsertedGreys[i], kInsertedGreys[i]);
      }
      return {256, 8};
    case kPalette256Gray:
      if (p)
        for (int i = 0; i < 256; ++i) put(p, i, i, i, i);
      return {256, 8};
    case kPaletteEightColour:
      if (p) std::memcpy(p, kEight, sizeof kEight);
      return {8, 3};
    default:  // kPalette256Orthogonal and every unknown type
      if (p)
        for (int r = 0; r < 8; ++r)
          for (int g = 0; g < 8; ++g)
            for (int b = 0; b < 4; ++b) put(p, r * 32 + g * 4 + b, kL8[r], kL8[g], kL4[b]);
      return {256, 8};
  }
}

}  // namespace

int standardPalette(int type, uint8_t* palette768OrNull, int* bitsOrNull) {
  if (palette768OrNull) std::memset(palette768OrNull, 0, kPaletteBytes);
  Entry e = fill(type, palette768OrNull);
  if (bitsOrNull) *bitsOrNull = e.bits;
  return e.count;
}

int bitsForColourCount(int n) {
  if (n <= 2) return 1;
  if (n <= 4) return 2;
  if (n <= 8) return 3;
  if (n <= 16) return 4;
  if (n <= 32) return 5;
  if (n <= 64) return 6;
  if (n <= 128) return 7;
  if (n <= 256) return 8;
  return 24;
}

}  // namespace gw
