#include "materials/shipped_textures.h"

#include <initializer_list>

#include "base/le_bytes.h"
#include "materials/texture_settings.h"

namespace gw {
namespace {

namespace ts = texture_settings;

constexpr uint32_t rgb(uint32_t r, uint32_t g, uint32_t b) { return r | (g << 8) | (b << 16); }

TextureItem base(const char* name, uint32_t type, uint32_t seed) {
  TextureItem item;
  item.name = name;
  uint8_t* s = item.settings.data();
  textureSettingsDefaults(s);
  writeU32(s + ts::kType, type);
  for (size_t k = 0; k < ts::kLayerCount; ++k) writeU32(s + ts::seed(k), seed + uint32_t(k) * 7919u);
  return item;
}

// Cloud layers over a background: one to four colours, each its own layer.
TextureItem fractal(const char* name, uint32_t back, std::initializer_list<uint32_t> layers, float power,
                    float dimension, uint32_t mesh, uint32_t seed) {
  TextureItem item = base(name, uint32_t(layers.size()) - 1, seed);
  uint8_t* s = item.settings.data();
  writeU32(s + ts::kBackColour, back);
  size_t k = 0;
  for (uint32_t colour : layers) {
    writeU32(s + ts::foreColour(k), colour);
    ts::writeF32(s + ts::power(k), power);
    ts::writeF32(s + ts::dimension(k), dimension);
    ++k;
  }
  writeU32(s + ts::kMeshSize, mesh);
  return item;
}

TextureItem craters(const char* name, uint32_t back, uint32_t light, uint32_t count, float depth, uint32_t seed) {
  TextureItem item = base(name, kTextureCraters, seed);
  uint8_t* s = item.settings.data();
  writeU32(s + ts::kBackColour, back);
  writeU32(s + ts::foreColour(0), light);
  writeU32(s + ts::kCraterCount, count);
  ts::writeF32(s + ts::kCraterDepth, depth);
  return item;
}

struct Bubbles {
  int32_t count = 0;
  uint32_t size = 4;
  float power = 0;
  uint32_t shape = kBubbleEllipse;
};

// Noise coloured through a four-point colour ramp, optionally with bubbles.
TextureItem perturbation(const char* name, const uint32_t (&ramp)[4], uint32_t mesh, float noisePower,
                         uint32_t seed, Bubbles bubbles = {}) {
  TextureItem item = base(name, kTexturePerturbation, seed);
  uint8_t* s = item.settings.data();
  for (size_t i = 0; i < 4; ++i) {
    ts::writeF32(s + ts::kRampRed + 4 * i, float(ramp[i] & 0xFF) / 255.0f);
    ts::writeF32(s + ts::kRampGreen + 4 * i, float((ramp[i] >> 8) & 0xFF) / 255.0f);
    ts::writeF32(s + ts::kRampBlue + 4 * i, float((ramp[i] >> 16) & 0xFF) / 255.0f);
  }
  writeU32(s + ts::kMeshSize, mesh);
  ts::writeF32(s + ts::kPerturbationPower, noisePower);
  writeI32(s + ts::kBubbleCount, bubbles.count);
  writeU32(s + ts::kBubbleSize, bubbles.size);
  ts::writeF32(s + ts::kBubblePower, bubbles.power);
  writeU32(s + ts::kBubbleShape, bubbles.shape);
  return item;
}

}  // namespace

std::vector<TextureItem> shippedTextures() {
  return {
      fractal("Blue Sky", rgb(52, 120, 210), {rgb(255, 255, 255)}, 0.75f, 2.15f, 64, 101),
      fractal("Summer Clouds", rgb(40, 110, 200), {rgb(200, 220, 245), rgb(255, 255, 255)}, 0.8f, 2.2f, 64, 211),
      fractal("Storm Clouds", rgb(38, 42, 56), {rgb(90, 96, 112), rgb(150, 156, 170), rgb(210, 214, 222)}, 0.9f,
              2.25f, 64, 307),
      fractal("Sunset", rgb(70, 20, 90), {rgb(200, 50, 80), rgb(250, 120, 40), rgb(255, 210, 90)}, 0.8f, 2.2f, 64,
              401),
      fractal("Fire", rgb(110, 8, 0), {rgb(220, 40, 0), rgb(255, 130, 0), rgb(255, 210, 40), rgb(255, 250, 200)},
              0.7f, 2.3f, 128, 503),
      fractal("Lava", rgb(20, 6, 4), {rgb(150, 20, 0), rgb(240, 90, 0), rgb(255, 200, 60)}, 1.2f, 2.4f, 128, 601),
      fractal("Ocean", rgb(8, 40, 100), {rgb(20, 90, 150), rgb(40, 150, 180), rgb(220, 245, 250)}, 0.9f, 2.3f, 128,
              701),
      fractal("Camouflage", rgb(96, 100, 56), {rgb(60, 74, 40), rgb(120, 96, 60), rgb(30, 34, 24)}, 0.3f, 2.0f, 32,
              809),
      fractal("Forest Moss", rgb(28, 60, 20), {rgb(60, 110, 30), rgb(120, 160, 50), rgb(190, 210, 90)}, 0.8f, 2.4f,
              128, 907),
      fractal("Candy Floss", rgb(250, 170, 210), {rgb(255, 210, 235), rgb(200, 160, 255), rgb(255, 255, 255)}, 0.8f,
              2.15f, 64, 1009),
      fractal("Gold Leaf", rgb(150, 100, 20), {rgb(200, 150, 40), rgb(240, 200, 80), rgb(255, 240, 170)}, 0.85f,
              2.5f, 128, 1103),
      fractal("Nebula", rgb(8, 4, 30), {rgb(60, 20, 120), rgb(180, 40, 150), rgb(90, 160, 240), rgb(255, 240, 255)},
              0.8f, 2.2f, 128, 1201),
      fractal("Ice", rgb(150, 200, 235), {rgb(200, 230, 250), rgb(240, 250, 255), rgb(120, 170, 220)}, 0.9f, 2.5f,
              128, 1301),
      fractal("Rust", rgb(90, 40, 20), {rgb(150, 70, 30), rgb(190, 110, 50), rgb(60, 30, 20)}, 0.7f, 2.6f, 128,
              1409),
      craters("Moon Surface", rgb(70, 70, 74), rgb(225, 225, 220), 5000, 1.5f, 1511),
      craters("Red Planet", rgb(110, 40, 20), rgb(240, 150, 90), 3000, 1.6f, 1601),
      craters("Hammered Gold", rgb(120, 80, 10), rgb(255, 225, 120), 900, 1.2f, 1709),
      craters("Hammered Silver", rgb(90, 96, 104), rgb(245, 248, 255), 900, 1.2f, 1801),
      perturbation("White Marble", {rgb(255, 255, 255), rgb(230, 228, 224), rgb(120, 120, 130), rgb(240, 240, 240)},
                   40, 2.2f, 1901),
      perturbation("Green Marble", {rgb(20, 70, 45), rgb(30, 110, 70), rgb(200, 230, 210), rgb(25, 90, 55)}, 40,
                   2.2f, 2003),
      perturbation("Granite", {rgb(30, 30, 34), rgb(140, 130, 132), rgb(220, 214, 210), rgb(60, 50, 56)}, 512, 2.0f,
                   2111),
      perturbation("Sandstone", {rgb(150, 100, 60), rgb(210, 160, 110), rgb(240, 210, 160), rgb(180, 120, 70)}, 512,
                   0.9f, 2203),
      perturbation("Burl Walnut", {rgb(150, 95, 45), rgb(185, 125, 65), rgb(80, 45, 18), rgb(170, 110, 55)}, 40, 3.0f,
                   2309),
      perturbation("Quicksilver", {rgb(60, 66, 76), rgb(150, 158, 170), rgb(235, 240, 246), rgb(170, 178, 190)}, 32,
                   1.6f, 2401),
      perturbation("Copper", {rgb(120, 50, 20), rgb(220, 130, 70), rgb(255, 205, 160), rgb(200, 110, 60)}, 40, 2.2f,
                   2503),
      perturbation("Soap Bubbles", {rgb(30, 60, 120), rgb(80, 150, 220), rgb(200, 235, 255), rgb(255, 255, 255)}, 64,
                   0.5f, 2609, Bubbles{160, 9, 0.5f, kBubbleSphere}),
      perturbation("Fizz", {rgb(120, 10, 10), rgb(230, 60, 30), rgb(255, 180, 60), rgb(255, 250, 220)}, 64, 0.6f, 2707,
                   Bubbles{400, 4, 0.35f, kBubbleLuminous}),
      perturbation("Polka Foam", {rgb(20, 90, 60), rgb(40, 160, 110), rgb(220, 250, 230), rgb(255, 255, 255)}, 32,
                   0.3f, 2801, Bubbles{90, 10, 0.6f, kBubbleFuzzy}),
  };
}

std::string shippedTextureGroupText() {
  TextureGroup group;
  group.writeable = false;
  group.items = shippedTextures();
  return textureGroupFormat(group, TextureGroupStamp{"Tue Dec  8 00:00:00 2026", "", ""});
}

}  // namespace gw
