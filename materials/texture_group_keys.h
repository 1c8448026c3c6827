// The item keys of a texture group, in the order they are written, with the
// settings field each one holds and the range a value is clamped to. The
// texture dialog and the command line take their field ranges from here too.
#pragma once

#include <cstddef>
#include <cstdint>

namespace gw {

enum class TextureKeyKind : uint8_t {
  kName,    // the item's name, kept beside the settings
  kReal,    // single precision, written "%f"
  kWhole,   // unsigned 32-bit, written "%lu"
  kSigned,  // signed 32-bit field, written as a whole number
  kColour,  // 0x00BBGGRR as a whole number; only the low 24 bits are kept
};

struct TextureGroupKey {
  const char* key;
  TextureKeyKind kind;
  size_t offset;  // in the 268-byte settings record
  double min;     // values outside are clamped (colours are masked)
  double max;
};

// The 43 keys in writing order.
const TextureGroupKey* textureGroupKeys(size_t* count);
// Case-insensitive lookup; nullptr for an unknown key.
const TextureGroupKey* findTextureGroupKey(const char* key, size_t length);

// Reads one field of `settings268` as a double (whole kinds exactly).
double textureKeyValue(const TextureGroupKey& key, const uint8_t* settings268);
// Stores `value` clamped to the key's range (NaN leaves the field as it is).
void textureKeySet(const TextureGroupKey& key, double value, uint8_t* settings268);

}  // namespace gw
