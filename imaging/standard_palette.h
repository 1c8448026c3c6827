// The nine standard palettes offered in the main dialog's palette list, the
// eight-colour palette (type 9), and the rule that turns a colour count into
// bits per pixel.
//
//   uint8_t palette[768];
//   int bits = 0;
//   int count = gw::standardPalette(gw::kPalette256Orthogonal, palette, &bits);
//
// Palettes are 256 entries of red, green, blue (768 bytes); entries beyond the
// colour count are zero.
#pragma once

#include <cstdint>

namespace gw {

constexpr int kPaletteBytes = 768;

enum StandardPaletteType : int {
  kPaletteBlackAndWhite = 0,
  kPaletteSixteenColour = 1,
  kPalette32Orthogonal = 2,
  kPalette64Orthogonal = 3,
  kPalette128Orthogonal = 4,
  kPalette216Safe = 5,
  kPalette256Orthogonal = 6,  // also the colour picker's palette
  kPalette256WithGray = 7,
  kPalette256Gray = 8,
  kPaletteEightColour = 9,  // no list entry selects it
};

// String-table id of a type's name in the palette list (types 0..8); the
// eight-colour palette has no list name.
constexpr int kPaletteNameStringBase = 1600;

// Fills `palette768OrNull` (cleared to 768 zero bytes first) with standard
// palette `type` and `bitsOrNull` with its bits per pixel; returns the colour
// count. Every type outside 0..9 gives the 256-colour orthogonal palette
// (type 6), so whatever a stored setting holds, a build gets a palette.
int standardPalette(int type, uint8_t* palette768OrNull, int* bitsOrNull);

// The palette offered to the host's colour picker: the 256-colour orthogonal
// palette. Returns its colour count, 256.
inline int colourPickerPalette(uint8_t* palette768) {
  return standardPalette(kPalette256Orthogonal, palette768, nullptr);
}

// Bits per pixel for n colours: 1 up to 2, 2 up to 4, 3 up to 8, 4 up to 16,
// 5 up to 32, 6 up to 64, 7 up to 128, 8 up to 256, 24 above.
int bitsForColourCount(int n);

}  // namespace gw
