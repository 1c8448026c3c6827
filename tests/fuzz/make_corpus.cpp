// Writes the seed corpora of the fuzz harnesses from valid examples made by
// the library's own writers: tests/fuzz/corpus/<harness>/<seed>.
//   gw_fuzz_corpus DIR
// Kept small (a few KB per harness); scripts/fuzz.sh --corpus runs it.
#include <cstdio>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "cli/png_io.h"
#include "cli/received_animation.h"
#include "cli/truecolour_writers.h"
#include "controls/animation_block.h"
#include "documents/document_text.h"
#include "materials/fountain_library.h"
#include "materials/fountain_record.h"
#include "materials/gradient_settings.h"
#include "materials/material_document.h"
#include "materials/material_record.h"
#include "materials/texture_group.h"
#include "materials/tile_group.h"
#include "platform/bitmap.h"
#include "platform/res_file.h"
#include "platform/resources.h"
#include "resource_ids.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "tests/test_animations.h"

namespace {

std::string root;

void seed(const char* harness, const char* name, const void* data, size_t size) {
  std::filesystem::path dir = std::filesystem::path(root) / harness;
  std::filesystem::create_directories(dir);
  FILE* f = std::fopen((dir / name).c_str(), "wb");
  if (!f) return;
  std::fwrite(data, 1, size, f);
  std::fclose(f);
}
void seed(const char* harness, const char* name, const std::string& text) { seed(harness, name, text.data(), text.size()); }

std::vector<uint8_t> fileBytes(const std::string& path) {
  std::vector<uint8_t> bytes;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    int c;
    while ((c = std::fgetc(f)) != EOF) bytes.push_back(uint8_t(c));
    std::fclose(f);
  }
  std::filesystem::remove(path);
  return bytes;
}

// A file a writer makes, kept as a seed and removed from where it was written.
void seedFile(const char* harness, const char* name, const std::string& path) {
  const std::vector<uint8_t> bytes = fileBytes(path);
  if (!bytes.empty()) seed(harness, name, bytes.data(), bytes.size());
}

std::vector<uint8_t> materialOf(int32_t kind) {
  std::vector<uint8_t> r(gw::kMaterialRecordSize);
  gw::materialRecordDefaults(r.data(), false);
  gw::writeU32(r.data() + gw::material::kKind, uint32_t(kind));
  return r;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: gw_fuzz_corpus DIR\n");
    return 2;
  }
  root = argv[1];
  using namespace gw;

  const std::string ini = settingsFileText(SettingsRecord(), 0);
  seed("settings_file", "defaults.ini", ini);
  seed("settings_line", "effect", std::string("MainEffect=12"));
  seed("settings_line", "text", std::string("MainText=Hello world"));
  seed("settings_line", "colour", std::string("Style000ShadowColor=8355711"));

  for (int32_t kind = 0; kind < 4; ++kind) {
    std::vector<uint8_t> r = materialOf(kind);
    const std::string name = std::string(materialKindName(kind));
    seed("material_line", name.c_str(), materialDocumentLine(100, r.data()));
    seed("material_file", name.c_str(), r.data(), r.size());
    seed("material_fill", name.c_str(), r.data(), r.size());
  }

  // Effect documents: controls of every kind with odd values, stray bytes
  // and line ends, and two whole material lines (a gradient face and a
  // texture shadow), without which no fuzzed input ever carries a record
  // the buttons take.
  {
    const std::string header = std::string(kDocumentHeader) + "\r\n;Start of document\r\n";
    seed("effect_document", "lines.gw5",
         header +
             "TXTFLD52=Fuzz = me\r\nFNTBOX53=No Such Face\r\nSPNBTN57=9999\r\nchkbox20 == 0\r\nCMBBOX58=99\r\n"
             "SDWDIR120=5\r\nSCRL4D118=3\r\nCLRBTN106=4294967295\r\nMATLBT100=5155494C434D4154F604\r\n;End of document\r\n");
    const char odd[] = "Glyphwright 5 Plugin Quillmere\nCHKBOX15=1\n\x01\x02 SPNBTN112=-3\rx\nTXTFLD52=\0zero\n";
    seed("effect_document", "odd_bytes.gw5", odd, sizeof odd - 1);
    seed("effect_document", "materials.gw5",
         header + materialDocumentLine(100, materialOf(1).data()) + materialDocumentLine(102, materialOf(2).data()) +
             ";End of document\n");
  }

  uint8_t gradient[kGradientSettingsSize];
  gradientSettingsDefaults(gradient);
  seed("gradient_settings", "defaults", gradient, sizeof gradient);
  uint8_t fountain[581];
  fountainRecordDefaults(fountain, FountainPreset::Rainbow);
  seed("fountain_record", "rainbow", fountain, sizeof fountain);
  {
    uint8_t grey[581];
    fountainRecordDefaults(grey, FountainPreset::Grey);
    std::vector<uint8_t> library = fountainLibraryBytes({fountain, grey}, 1700000000u);
    seed("fountain_library", "two-entries", library.data(), library.size());
  }
  seed("gimp_gradient", "three-segments",
       std::string("GIMP Gradient\nName: Three ways\n3\n"
                   "0.000000 0.200000 0.400000 1.000000 0.000000 0.000000 1.000000 1.000000 0.800000 0.000000 1.000000 0 0\n"
                   "0.400000 0.500000 0.600000 0.000000 0.000000 1.000000 1.000000 0.000000 1.000000 0.000000 1.000000 2 1\n"
                   "0.600000 0.800000 1.000000 1.000000 1.000000 1.000000 1.000000 0.100000 0.100000 0.100000 1.000000 3 2 0 0\n"));

  // A one-tile group as the plug-in writes it: the header, then one chunk.
  // Stamped with a fixed time and owner, so the seed is the same every time.
  {
    MemBlock tile(bitmapCreateTrueColour(6, 4, 24));
    const std::string path = root + "/one-tile.mtx";
    if (tile && tileGroupWriteStamped(path, {tile.get()}, false, TileGroupStamp{0x6B18638F, "root", "", true})) {
      std::vector<uint8_t> bytes(std::filesystem::file_size(path));
      if (FILE* f = std::fopen(path.c_str(), "rb")) {
        if (std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size()) seed("tile_group", "one", bytes.data(), bytes.size());
        std::fclose(f);
      }
      std::filesystem::remove(path);
    }
  }
  // A two-item texture group as the dialog writes it.
  {
    TextureGroup group;
    TextureItem clouds, craters;
    clouds.name = "Clouds";
    textureSettingsDefaults(clouds.settings.data());
    craters.name = "Craters";
    textureSettingsDefaults(craters.settings.data());
    writeU32(craters.settings.data() + texture_settings::kType, kTextureCraters);
    group.items = {clouds, craters};
    seed("texture_group", "two-items.fft",
         textureGroupFormat(group, TextureGroupStamp{"Thu Jan  1 00:00:00 1970", "Owner", "Organization"}));
  }
  // A texture group a hand or another tool wrote: keys in any case, doubled
  // "=", values out of range or not numbers, and a last item cut short.
  seed("texture_group", "odd-values.fft",
       std::string("QUILLMERE O-RIVET TEXTURE FILE  \r\n"
         "writeable = 0\r\n"
         ":beginitem\r\n"
         "texturename==  Odd  \r\n"
         "MatrixSize=99999\r\n"
         "Power1=nan\r\n"
         "ForeColour1=-1\r\n"
         "BubbleCount=-7\r\n"
         ";comment=1\r\n"
         ":enditem\r\n"
         ":BEGINITEM\n"
         "TextureType=4\n"
         ":ENDITEM\n"
         ":BEGINITEM\n"
         "TextureName=cut short\n"));
  // A compiled resource file as windres writes it: the empty entry that
  // opens every .res, then one string-table block of the plug-in's own.
  if (auto strings = findResource(kResString, ResourceName::number(1))) {
    std::vector<uint8_t> res(32, 0);
    writeU32(res.data() + 4, 32);
    writeU16(res.data() + 8, 0xFFFF);
    writeU16(res.data() + 12, 0xFFFF);
    uint8_t header[32] = {};
    writeU32(header + 0, uint32_t(strings->size));
    writeU32(header + 4, 32);
    writeU16(header + 8, 0xFFFF);
    writeU16(header + 10, kResString);
    writeU16(header + 12, 0xFFFF);
    writeU16(header + 14, 1);
    writeU16(header + 20, 0x1030);  // moveable, pure, discardable
    writeU16(header + 22, 0x0409);
    res.insert(res.end(), header, header + sizeof header);
    res.insert(res.end(), strings->data, strings->data + strings->size);
    while (res.size() % 4) res.push_back(0);
    seed("res_file", "one-string-block", res.data(), res.size());
  }
  if (auto dialog = findResource(kResDialog, ResourceName::number(7400)))
    seed("dialog_template", "page7400", dialog->data, dialog->size);
  if (auto messages = findResource(kResDialog, ResourceName::text("MessageBox")))
    seed("dialog_template", "messagebox", messages->data, messages->size);
  if (auto strings = findResource(kResString, ResourceName::number(1)))
    seed("string_table", "block1", strings->data, strings->size);

  seed("cli_values", "number", std::string("42"));
  seed("cli_values", "colour", std::string("FFD200"));
  seed("cli_values", "size", std::string("320x200"));
  const char options[] = "--text\0Hello\0--effect\0Simple\0--face\0gradient:FFD200-D02000\0-o\0x.gif";
  seed("render_options", "typical", options, sizeof options - 1);

  // Animation blocks: a palette frame and a true-colour one, as a host writes them.
  {
    std::vector<MemBlock> frames;
    std::vector<AnimationFrameSource> sources;
    for (int bits : {4, 24}) {
      frames.emplace_back(bits <= 8 ? bitmapCreateWithPalette(5, 3, nullptr, bits) : bitmapCreateTrueColour(5, 3, bits));
      sources.push_back({frames.back().get(), bits});
    }
    MemBlock block(animationBlockBuild(5, 3, 0, sources.data(), sources.size()));
    MemLock lock(block.get());
    if (lock) seed("animation_block", "two-depths", lock.data(), lock.size());
  }
  // Animation files for --animation: GIFs with disposals, transparency,
  // a local table and an interlaced frame; a two-frame WebP; a PNG.
  {
    const std::vector<GifColorType> global = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
    auto frame = [](int left, int top, int w, int h, std::vector<GifByteType> pixels, int delay, int disposal) {
      TestGifFrame f;
      f.left = left, f.top = top, f.width = w, f.height = h, f.delay = delay, f.disposal = disposal;
      f.pixels = std::move(pixels);
      return f;
    };
    std::vector<TestGifFrame> frames = {
        frame(0, 0, 6, 4, std::vector<GifByteType>(24, 1), 10, DISPOSE_DO_NOT),
        frame(1, 1, 3, 2, {1, 0, 1, 0, 1, 0}, 20, DISPOSE_BACKGROUND),
        frame(4, 0, 2, 2, {2, 2, 2, 2}, 30, DISPOSE_PREVIOUS),
        frame(0, 3, 9, 1, {2, 1, 2, 1, 2, 1, 2, 1, 2}, 0, DISPOSE_DO_NOT),
    };
    frames[1].transparent = 0;
    frames[1].localColours = {{255, 255, 255}, {255, 255, 0}};
    const std::string gif = root + "/disposals.gif";
    if (writeTestGif(gif, 6, 4, global, 3, frames)) seedFile("animation_file", "disposals.gif", gif);
    TestGifFrame tall;
    tall.width = 3;
    tall.height = 11;
    for (int i = 0; i < 33; ++i) tall.pixels.push_back(GifByteType(i / 3 % 4));
    tall.interlaced = true;
    if (writeTestGif(gif, 3, 11, global, 0, {tall})) seedFile("animation_file", "interlaced.gif", gif);
  }
  {
    cli::ReceivedAnimation a;
    a.width = 4;
    a.height = 3;
    for (int k = 0; k < 2; ++k) {
      MemBlock bmp(bitmapCreateTrueColour(4, 3, 24));
      MemLock lock(bmp.get());
      BitmapView v = BitmapView::of(lock);
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) v.setPixel(x, y, x == k ? 0x0000FF : 0x203040 * uint32_t(k + 1));
      cli::ReceivedFrame f;
      f.dib.assign(lock.data(), lock.data() + lock.size());
      f.delay = 7 + 10 * k;
      a.frames.push_back(f);
    }
    const std::string webp = root + "/two.webp";
    std::string error;
    if (cli::writeAnimatedWebp(a, webp, &error)) seedFile("animation_file", "two-frames.webp", webp);
    const std::string png = root + "/one.png";
    MemBlock bmp(bitmapCreateTrueColour(3, 2, 24));
    if (bmp && cli::writeBitmapAsPng(bmp.get(), png, &error)) seedFile("animation_file", "one.png", png);
  }
  return 0;
}
