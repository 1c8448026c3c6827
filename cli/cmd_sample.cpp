// `glyphwright sample`: the still the main dialog's sample window shows, for
// the chosen effect, text, font and options, written as a PNG.
//
// The dialog starts from the built-in defaults (as when Shift is held while
// it opens: no configuration file, no material files), or from --config, and
// the options are applied over them before the dialog fills its controls.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "base/le_bytes.h"
#include "cli/command.h"
#include "cli/png_io.h"
#include "cli/render_options.h"
#include "controls/control_kind.h"
#include "effects/effect_table.h"
#include "host/main_dialog.h"
#include "imaging/bitmap.h"
#include "materials/material_file.h"
#include "materials/material_record.h"
#include "platform/in_memory_dialog.h"
#include "platform/resources.h"
#include "platform/system_state.h"
#include "resource_ids.h"
#include "settings/settings_file.h"
#include "settings/settings_table.h"

namespace gw::cli {
namespace {

// The sample window's size in pixels, as the effect is told of it.
constexpr int32_t kSampleWidth = 600;
constexpr int32_t kSampleHeight = 200;

// Material buttons of "Simple" by their role in the options.
struct MaterialRole {
  const char* name;
  uint32_t id;
};
constexpr MaterialRole kSimpleMaterials[] = {{"face", 100}, {"shadow", 102}, {"background", 104}};

// The plug-in's text is single-byte Latin-1; a terminal gives UTF-8.
bool utf8ToLatin1(const std::string& in, std::string* out) {
  std::string s;
  for (size_t i = 0; i < in.size(); ++i) {
    auto c = static_cast<unsigned char>(in[i]);
    if (c < 0x80) {
      s += char(c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < in.size() && (static_cast<unsigned char>(in[i + 1]) & 0xC0) == 0x80) {
      unsigned code = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(in[i + 1]) & 0x3Fu);
      if (code < 0x80 || code > 0xFF) return false;
      s += char(code);
      ++i;
    } else {
      return false;
    }
  }
  *out = s;
  return true;
}

bool parseColour(const std::string& text, uint32_t* colour) {
  std::string hex = text;
  if (!hex.empty() && hex[0] == '#') hex.erase(0, 1);
  if (hex.size() != 6) return false;
  char* end = nullptr;
  unsigned long rgb = std::strtoul(hex.c_str(), &end, 16);
  if (*end) return false;
  // RRGGBB as written; colours are kept 0x00BBGGRR.
  *colour = uint32_t(((rgb >> 16) & 0xFF) | (rgb & 0xFF00) | ((rgb & 0xFF) << 16));
  return true;
}

// A new record from a --face/--shadow/--background value; 0 with *error set.
MemHandle materialFromSpec(const std::string& spec, std::string* error) {
  size_t colon = spec.find(':');
  std::string kind = spec.substr(0, colon);
  std::string value = colon == std::string::npos ? std::string() : spec.substr(colon + 1);
  if (kind == "colour" || kind == "color") {
    uint32_t colour = 0;
    if (!parseColour(value, &colour)) {
      *error = "a colour is RRGGBB in hexadecimal, not '" + value + "'";
      return 0;
    }
    MemBlock record(memAlloc(kMaterialRecordSize));
    MemLock lock(record.get());
    if (!lock) {
      *error = "out of memory";
      return 0;
    }
    materialRecordDefaults(lock.data(), false);
    writeU32(lock.data() + material::kColour, colour);
    return record.release();
  }
  if (kind == "record") {
    FILE* probe = std::fopen(value.c_str(), "rb");
    if (!probe) {
      *error = "cannot open material record '" + value + "'";
      return 0;
    }
    std::fclose(probe);
    MemHandle record = materialFileRead(value, 0x808080, true);
    if (!record) *error = "out of memory";
    return record;
  }
  *error = "the still takes materials as colour:RRGGBB or record:FILE.mtrl, not '" + spec + "'";
  return 0;
}

bool applySetting(const std::string& key, const std::string& value, std::string* error) {
  if (int32_t* number = settingNumber(settings(), key.c_str())) {
    *number = atolWrapping(value.c_str());
    return true;
  }
  if (char* text = settingText(settings(), key.c_str())) {
    std::string latin1;
    if (!utf8ToLatin1(value, &latin1)) {
      *error = key + " holds characters outside Latin-1";
      return false;
    }
    setSettingText(text, latin1.c_str());
    return true;
  }
  *error = "unknown settings key '" + key + "'";
  return false;
}

bool selectEffectOption(const std::string& value, std::string* error) {
  int index = findEffect(value);
  if (index < 0) {
    char* end = nullptr;
    long n = std::strtol(value.c_str(), &end, 10);
    if (!value.empty() && !*end && n >= 0 && n < kEffectCount) index = int(n);
  }
  if (index < 0) {
    *error = "no effect '" + value + "' (see 'glyphwright effects')";
    return false;
  }
  settings().MainEffect = index;
  return true;
}

// Records made here for buttons that had none; freed when the still is made.
struct OwnedRecords {
  std::vector<MemBlock> blocks;
};

bool applyMaterials(const RenderOptions& options, InMemoryDialog& dialog, OwnedRecords* owned, std::string* error) {
  if (options.materials.empty()) return true;
  if (settings().MainEffect != kSimpleEffectIndex) {
    *error = "--face, --shadow and --background apply to \"Simple\" only";
    return false;
  }
  for (const MaterialRole& role : kSimpleMaterials) {
    auto it = options.materials.find(role.name);
    if (it == options.materials.end()) continue;
    MemBlock fresh(materialFromSpec(it->second, error));
    if (!fresh) return false;
    auto current = MemHandle(reinterpret_cast<uintptr_t>(dialog.boundVariable(role.id)));
    MemLock from(fresh.get());
    if (current && memSize(current) >= kMaterialRecordSize) {
      // The button keeps its own block; only its bytes change.
      MemLock to(current);
      if (!to || !from) {
        *error = "out of memory";
        return false;
      }
      std::memcpy(to.data(), from.data(), kMaterialRecordSize);
      continue;
    }
    dialog.setBinding(role.id, uint8_t(ControlKind::kMaterialButton),
                      reinterpret_cast<void*>(uintptr_t(fresh.get())));
    owned->blocks.push_back(std::move(fresh));
  }
  return true;
}

}  // namespace

int runSample(const std::vector<std::string>& args) {
  const Command& self = *findCommand("sample");
  RenderOptions options;
  std::string error;
  if (!parseRenderOptions(args, &options, &error)) return usageError(self, error);

  if (!options.configFile.empty() && !readSettingsFile(options.configFile, settings()))
    return fail("cannot read configuration file '" + options.configFile + "'");
  if (options.effect && !selectEffectOption(*options.effect, &error)) return fail(error);
  for (const auto& set : options.sets)
    if (!applySetting(set.first, set.second, &error)) return fail(error);
  if (options.frames) {
    std::string key = effectKeyPrefix(effectRow(settings().MainEffect)) + "Frames";
    if (int32_t* frames = settingNumber(settings(), key.c_str())) *frames = *options.frames;
  }

  auto dialog = InMemoryDialog::fromResource(ResourceName::number(IDD_MAIN));
  if (!dialog) return fail("the main dialog's template is missing");
  // Held Shift: the dialog takes the settings as they stand, no files.
  bool wasDown = shiftKeyDown();
  testing::setShiftKeyDown(true);
  bool ready = mainDialogInit(*dialog, nullptr, 1024, 768);
  testing::setShiftKeyDown(wasDown);
  if (!ready) return fail("the dialog could not be initialised");
  if (options.alphaBackground) dialog->setChecked(IDC_ALPHA_BACKGROUND, *options.alphaBackground);

  OwnedRecords owned;
  if (!applyMaterials(options, *dialog, &owned, &error)) return fail(error);

  const EffectRow& row = effectRow(settings().MainEffect);
  if (!effectAvailable(row)) return fail(std::string("\"") + row.name + "\": " + kEffectNotAvailableMessage);
  EffectContext ctx;
  ctx.window = dialog.get();
  ctx.sampleWidth = kSampleWidth;
  ctx.sampleHeight = kSampleHeight;
  ctx.sample = 1;
  int made = effectPreview(row, ctx);
  MemBlock image(ctx.image);
  for (const MaterialRole& role : kSimpleMaterials)
    for (const MemBlock& b : owned.blocks)
      if (reinterpret_cast<uintptr_t>(dialog->boundVariable(role.id)) == b.get())
        dialog->setBinding(role.id, uint8_t(ControlKind::kMaterialButton), nullptr);
  if (!made || !image) return fail("the effect made no still (no font, or out of memory)");
  if (!writeBitmapAsPng(image.get(), options.output, &error)) return fail(error);
  int32_t w = 0, h = 0;
  bitmapQuery(image.get(), &w, &h, nullptr, nullptr);
  std::printf("%s: %d x %d pixels\n", options.output.c_str(), int(w), int(h));
  return kExitOk;
}

}  // namespace gw::cli
