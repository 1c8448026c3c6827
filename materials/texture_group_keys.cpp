#include "materials/texture_group_keys.h"

#include <cmath>

#include "base/le_bytes.h"
#include "materials/texture_generate.h"
#include "materials/texture_settings.h"

namespace gw {
namespace {

namespace ts = texture_settings;
using K = TextureKeyKind;

constexpr double kU32Max = 4294967295.0;

// Real ranges: wide enough for every picture worth making, narrow enough that
// no power or depth overflows a generator's arithmetic.
const TextureGroupKey kKeys[] = {
    {"TextureName", K::kName, 0, 0, 0},
    {"Power1", K::kReal, ts::power(0), 0.0, 10.0},
    {"Power2", K::kReal, ts::power(1), 0.0, 10.0},
    {"Power3", K::kReal, ts::power(2), 0.0, 10.0},
    {"Power4", K::kReal, ts::power(3), 0.0, 10.0},
    {"Power5", K::kReal, ts::power(4), 0.0, 10.0},
    {"SeedValue1", K::kWhole, ts::seed(0), 0, kU32Max},
    {"SeedValue2", K::kWhole, ts::seed(1), 0, kU32Max},
    {"SeedValue3", K::kWhole, ts::seed(2), 0, kU32Max},
    {"SeedValue4", K::kWhole, ts::seed(3), 0, kU32Max},
    {"SeedValue5", K::kWhole, ts::seed(4), 0, kU32Max},
    {"Dimension1", K::kReal, ts::dimension(0), 0.0, 4.0},
    {"Dimension2", K::kReal, ts::dimension(1), 0.0, 4.0},
    {"Dimension3", K::kReal, ts::dimension(2), 0.0, 4.0},
    {"Dimension4", K::kReal, ts::dimension(3), 0.0, 4.0},
    {"Dimension5", K::kReal, ts::dimension(4), 0.0, 4.0},
    {"MatrixSize", K::kWhole, ts::kMeshSize, 32, kTextureMaxMesh},
    {"TextureType", K::kWhole, ts::kType, 0, kTextureTypeCount - 1},
    {"ForeColour1", K::kColour, ts::foreColour(0), 0, 0xFFFFFF},
    {"ForeColour2", K::kColour, ts::foreColour(1), 0, 0xFFFFFF},
    {"ForeColour3", K::kColour, ts::foreColour(2), 0, 0xFFFFFF},
    {"ForeColour4", K::kColour, ts::foreColour(3), 0, 0xFFFFFF},
    {"ForeColour5", K::kColour, ts::foreColour(4), 0, 0xFFFFFF},
    {"BackColour", K::kColour, ts::kBackColour, 0, 0xFFFFFF},
    {"CreaterCount", K::kWhole, ts::kCraterCount, 0, kTextureMaxCraterCount},
    {"CreaterDepth", K::kReal, ts::kCraterDepth, 0.0, 5.0},
    {"ColorRed0", K::kReal, ts::kRampRed + 0, 0.0, 1.0},
    {"ColorRed1", K::kReal, ts::kRampRed + 4, 0.0, 1.0},
    {"ColorRed2", K::kReal, ts::kRampRed + 8, 0.0, 1.0},
    {"ColorRed3", K::kReal, ts::kRampRed + 12, 0.0, 1.0},
    {"ColorGreen0", K::kReal, ts::kRampGreen + 0, 0.0, 1.0},
    {"ColorGreen1", K::kReal, ts::kRampGreen + 4, 0.0, 1.0},
    {"ColorGreen2", K::kReal, ts::kRampGreen + 8, 0.0, 1.0},
    {"ColorGreen3", K::kReal, ts::kRampGreen + 12, 0.0, 1.0},
    {"ColorBlue0", K::kReal, ts::kRampBlue + 0, 0.0, 1.0},
    {"ColorBlue1", K::kReal, ts::kRampBlue + 4, 0.0, 1.0},
    {"ColorBlue2", K::kReal, ts::kRampBlue + 8, 0.0, 1.0},
    {"ColorBlue3", K::kReal, ts::kRampBlue + 12, 0.0, 1.0},
    {"BubbleCount", K::kSigned, ts::kBubbleCount, 0, 1024},
    {"BubbleSize", K::kWhole, ts::kBubbleSize, 1, kTextureMaxBubbleSize},
    {"BubblePower", K::kReal, ts::kBubblePower, -8.0, 8.0},
    {"BubbleShape", K::kWhole, ts::kBubbleShape, 0, 3},
    {"PerturbationPower", K::kReal, ts::kPerturbationPower, 0.0, 8.0},
};

char lower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

}  // namespace

const TextureGroupKey* textureGroupKeys(size_t* count) {
  *count = sizeof kKeys / sizeof kKeys[0];
  return kKeys;
}

const TextureGroupKey* findTextureGroupKey(const char* key, size_t length) {
  for (const TextureGroupKey& k : kKeys) {
    size_t i = 0;
    while (i < length && k.key[i] && lower(k.key[i]) == lower(key[i])) ++i;
    if (i == length && k.key[i] == '\0') return &k;
  }
  return nullptr;
}

double textureKeyValue(const TextureGroupKey& key, const uint8_t* s) {
  switch (key.kind) {
    case K::kReal: return double(ts::readF32(s + key.offset));
    case K::kSigned: return double(readI32(s + key.offset));
    case K::kWhole:
    case K::kColour: return double(readU32(s + key.offset));
    case K::kName: break;
  }
  return 0;
}

void textureKeySet(const TextureGroupKey& key, double value, uint8_t* s) {
  if (key.kind == K::kName || std::isnan(value)) return;
  if (key.kind == K::kColour) {
    // Only the low 24 bits are a colour; "-1" read as a number means none,
    // which a texture layer cannot be, so it becomes the colour bits it has.
    const double wrapped = value < 0 ? value + 4294967296.0 : value;
    writeU32(s + key.offset, uint32_t(std::fmod(wrapped, 4294967296.0)) & 0xFFFFFFu);
    return;
  }
  const double v = value < key.min ? key.min : value > key.max ? key.max : value;
  if (key.kind == K::kReal) ts::writeF32(s + key.offset, float(v));
  else if (key.kind == K::kSigned) writeI32(s + key.offset, int32_t(v));
  else writeU32(s + key.offset, uint32_t(v));
}

}  // namespace gw
