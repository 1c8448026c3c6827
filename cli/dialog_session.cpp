#include "cli/dialog_session.h"
#include "cli/group_items.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/le_bytes.h"
#include "cli/animation_file.h"
#include "cli/cli_values.h"
#include "cli/command.h"
#include "cli/material_cli_options.h"
#include "controls/bound_control.h"
#include "controls/control_kind.h"
#include "controls/spin_field.h"
#include "documents/document_file.h"
#include "documents/document_lines.h"
#include "effects/effect_pages.h"
#include "effects/effect_table.h"
#include "host/main_dialog.h"
#include "imaging/standard_palette.h"
#include "materials/fountain_library.h"
#include "materials/fountain_record.h"
#include "materials/gradient_settings.h"
#include "materials/material_button.h"
#include "materials/material_file.h"
#include "materials/material_record.h"
#include "materials/texture_settings.h"
#include "materials/tile_group.h"
#include "materials/tile_selection.h"
#include "platform/code_page_1252.h"
#include "platform/message_dialog.h"
#include "platform/string_table.h"
#include "platform/system_state.h"
#include "resource_ids.h"
#include "settings/settings_file.h"
#include "settings/settings_table.h"

namespace gw::cli {
namespace {

// Material buttons of an effect's page by their role in the options. Every
// page puts its material buttons in the same order: the fill first, the
// background last when there is one, and "Simple" the shadow between them
// ("Omni"'s shadow, like most pages', is a colour key).
struct MaterialRole {
  const char* name;
  uint32_t id;
};

std::vector<MaterialRole> materialRoles(int effect) {
  std::vector<uint32_t> ids;
  for (const PageControl* c = effectRow(clampEffectIndex(effect)).controls; c && c->id; ++c)
    if (c->kind == ControlKind::kMaterialButton) ids.push_back(c->id);
  std::vector<MaterialRole> roles;
  for (size_t i = 0; i < ids.size(); ++i) {
    const char* name = i == 0 ? "face" : i + 1 == ids.size() ? "background" : "shadow";
    roles.push_back({name, ids[i]});
  }
  return roles;
}

// The dialog's pretend screen, for capping sizes the host gives.
constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// Colours are written RRGGBB on the render command line ("#" may be left out).
bool parseHexColour(const std::string& text, uint32_t* colour) {
  return parseColour(!text.empty() && text[0] == '#' ? text : "#" + text, colour);
}

bool parseIndex(const std::string& text, int limit, int* out) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 6) return false;
  int n = std::atoi(text.c_str());
  if (n >= limit) return false;
  *out = n;
  return true;
}

// A settings number as typed: decimal, in 32 bits signed or unsigned.
bool parseSettingNumber(const std::string& text, long long* out) {
  size_t i = (!text.empty() && (text[0] == '-' || text[0] == '+')) ? 1 : 0;
  if (i == text.size() || text.size() - i > 10 || text.find_first_not_of("0123456789", i) != std::string::npos)
    return false;
  long long n = std::atoll(text.c_str());
  if (n < -2147483648LL || n > 4294967295LL) return false;
  *out = n;
  return true;
}

bool applySetting(const std::string& key, const std::string& value, std::string* error) {
  if (int32_t* number = settingNumber(settings(), key.c_str())) {
    // The configuration file reads "abc" as 0; typed on the command line it
    // is a mistake worth saying. Numbers are taken as 32 bits either signed
    // or unsigned (colours are written unsigned).
    long long n = 0;
    if (!parseSettingNumber(value, &n)) {
      *error = key + " takes a number, not '" + value + "'";
      return false;
    }
    *number = int32_t(uint32_t(uint64_t(n)));
    if (key == "MainEffect" && (n < 0 || n >= kEffectCount)) {
      *error = "MainEffect takes 0 to " + std::to_string(kEffectCount - 1) + " (see 'glyphwright effects'), not " +
               value;
      return false;
    }
    return true;
  }
  if (char* text = settingText(settings(), key.c_str())) {
    std::string bytes;
    std::string problem;
    if (!utf8ToCodePage1252(value, &bytes, &problem)) {
      *error = key + ": " + problem;
      return false;
    }
    if (bytes.size() > kSettingTextSize - 1)
      warn(key + " holds " + std::to_string(bytes.size()) + " characters; the first " +
                std::to_string(kSettingTextSize - 1) + " are used");
    setSettingText(text, bytes.c_str());
    return true;
  }
  *error = "unknown settings key '" + key + "' (see 'glyphwright settings' for the keys)";
  return false;
}

bool selectEffect(const std::string& value, std::string* error) {
  int index = findEffect(value);
  if (index < 0) parseIndex(value, kEffectCount, &index);
  if (index < 0) {
    std::string names;
    for (int i = 0; i < kEffectCount; ++i) names += std::string(i ? ", " : "") + "\"" + effectRow(i).name + "\"";
    *error = "no effect '" + value + "'; the effects are " + names;
    return false;
  }
  settings().MainEffect = index;
  return true;
}

bool selectPalette(const std::string& value, std::string* error) {
  int index = -1;
  for (int i = 0; i <= 8; ++i)
    if (loadString(kPaletteNameStringBase + i) == value) index = i;
  if (index < 0) parseIndex(value, 9, &index);
  if (index < 0) {
    std::string names;
    for (int i = 0; i <= 8; ++i) names += std::string(i ? ", " : "") + "\"" + loadString(kPaletteNameStringBase + i) + "\"";
    *error = "no palette '" + value + "'; the palettes are 0 to 8: " + names;
    return false;
  }
  settings().MainPalette = index;
  return true;
}

}  // namespace

bool utf8ToCodePage1252(const std::string& in, std::string* out, std::string* problem) {
  std::string s;
  s.reserve(in.size());
  for (size_t i = 0; i < in.size();) {
    const auto c = static_cast<unsigned char>(in[i]);
    // The sequence's length, the bits of its lead byte and the smallest code
    // point it may carry (shorter forms of a character are not UTF-8).
    size_t length = 1;
    uint32_t code = c, least = 0;
    if (c >= 0xC2 && c <= 0xDF) length = 2, code = c & 0x1Fu, least = 0x80;
    else if (c >= 0xE0 && c <= 0xEF) length = 3, code = c & 0x0Fu, least = 0x800;
    else if (c >= 0xF0 && c <= 0xF4) length = 4, code = c & 0x07u, least = 0x10000;
    else if (c >= 0x80) length = 0;
    bool valid = length > 0 && i + length <= in.size();
    for (size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(in[i + k]);
      valid = (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3Fu);
    }
    valid = valid && code >= least && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF);
    if (!valid) {
      *problem = "the text is not valid UTF-8 (byte " + std::to_string(i + 1) + ")";
      return false;
    }
    const int byte = byteFor1252(code);
    if (byte < 0) {
      char name[16];
      std::snprintf(name, sizeof name, "U+%04X", unsigned(code));
      *problem = "'" + in.substr(i, length) + "' (" + name +
                 ") has no byte in the Windows code page 1252 the plug-in's text is kept in";
      return false;
    }
    s += char(byte);
    i += length;
  }
  *out = std::move(s);
  return true;
}

MemHandle materialFromSpec(const std::string& text, std::string* error) {
  size_t colon = text.find(':');
  std::string kind = text.substr(0, colon);
  std::string value = colon == std::string::npos ? std::string() : text.substr(colon + 1);
  if (kind == "record") {
    // The plug-in takes a missing, short or foreign file as its defaults;
    // named on the command line, such a file is a mistake.
    std::vector<uint8_t> bytes;
    if (!material_cli::readBytes(value, kMaterialRecordSize, &bytes, error)) return 0;
    if (bytes.size() < kMaterialRecordSize || !materialRecordHasMagic(bytes.data())) {
      *error = value + ": not a material record (" + std::to_string(kMaterialRecordSize) +
               " bytes starting QUILCMAT)";
      return 0;
    }
    MemHandle record = materialFileRead(value, 0x808080, true);
    if (!record) *error = "out of memory";
    return record;
  }
  MemBlock record(memAlloc(kMaterialRecordSize));
  MemLock lock(record.get());
  if (!lock) {
    *error = "out of memory";
    return 0;
  }
  uint8_t* r = lock.data();
  materialRecordDefaults(r, false);
  if (kind == "colour" || kind == "color") {
    uint32_t colour = 0;
    if (!parseHexColour(value, &colour)) {
      *error = "a colour is RRGGBB in hexadecimal, not '" + value + "'";
      return 0;
    }
    writeU32(r + material::kColour, colour);
  } else if (kind == "gradient") {
    uint32_t from = 0, to = 0;
    size_t dash = value.find('-');
    if (dash == std::string::npos || !parseHexColour(value.substr(0, dash), &from) ||
        !parseHexColour(value.substr(dash + 1), &to)) {
      *error = "a gradient is RRGGBB-RRGGBB, not '" + value + "'";
      return 0;
    }
    writeI32(r + material::kKind, kMaterialGradient);
    uint8_t* g = r + material::kGradient;
    writeU32(g + gradient::kStartColour, from);
    writeU32(g + gradient::kEndColour, to);
    writeU32(g + gradient::kColourMode, 1);
  } else if (kind == "fountain") {
    // A library entry's ramp as a multi-colour linear gradient.
    size_t last = value.rfind(':');
    int index = 0;
    if (last == std::string::npos || !parseIndex(value.substr(last + 1), 0x7FFFFFFF, &index)) {
      *error = "a fountain is fountain:FILE.fll:INDEX, not '" + value + "'";
      return 0;
    }
    const std::string library = value.substr(0, last);
    FountainLibraryList entries;
    FountainLibraryStatus status = fountainLibraryLoad(library, 0, 0, &entries);
    if (status != FountainLibraryStatus::Ok) {
      *error = library + ": " + fountainLibraryStatusText(status);
      return 0;
    }
    if (size_t(index) >= entries.size()) {
      *error = library + ": no entry " + std::to_string(index) + " (the library holds " +
               std::to_string(entries.size()) + ")";
      return 0;
    }
    writeI32(r + material::kKind, kMaterialGradient);
    uint8_t* g = r + material::kGradient;
    writeU32(g + gradient::kColourMode, 0);
    std::memcpy(g + gradient::kFountain, entries[size_t(index)].record, kFountainRecordSize);
  } else if (kind == "texture") {
    // texture:TYPE (a generator's defaults), texture:NAME (from the shipped
    // group) or texture:GROUP.fft:NAME (a name, or an index).
    int type = 0;
    writeI32(r + material::kKind, kMaterialTexture);
    if (parseIndex(value, 6, &type)) {
      writeU32(r + material::kTexture + texture_settings::kType, uint32_t(type));
    } else {
      size_t last = value.rfind(':');
      std::string group = last == std::string::npos ? std::string() : value.substr(0, last);
      std::string item = last == std::string::npos ? value : value.substr(last + 1);
      if (item.empty()) {
        *error = "a texture is texture:TYPE (0 to 5), texture:NAME or texture:GROUP.fft:NAME, not '" + value + "'";
        return 0;
      }
      if (!loadTextureItem(group, item, r + material::kTexture, error)) return 0;
    }
  } else if (kind == "tile") {
    // tile:INDEX (of the shipped group) or tile:GROUP.mtx:INDEX.
    size_t last = value.rfind(':');
    std::string groupPath = last == std::string::npos ? std::string() : value.substr(0, last);
    int index = 0;
    if (!parseIndex(last == std::string::npos ? value : value.substr(last + 1), 100000, &index)) {
      *error = "a tile is tile:INDEX or tile:GROUP.mtx:INDEX, not '" + value + "'";
      return 0;
    }
    if (groupPath.empty() && (groupPath = primaryGroupPath(kPrimaryTileGroup, error)).empty()) return 0;
    writeI32(r + material::kKind, kMaterialTile);
    uint8_t* selection = r + material::kTileSelection;
    tileSelectionSetPath(selection, groupPath);
    writeI32(selection + (material::kTileIndex - material::kTileSelection), index);
    if (!tileSelectionLoad(selection)) {
      *error = "cannot load tile " + std::to_string(index) + " of '" + groupPath + "'";
      return 0;
    }
  } else {
    *error = "a material is colour:RRGGBB, gradient:RRGGBB-RRGGBB, fountain:FILE.fll:INDEX, "
             "texture:TYPE|NAME|GROUP.fft:NAME, tile:INDEX|GROUP.mtx:INDEX or "
             "record:FILE.mtrl, not '" + text + "'";
    return 0;
  }
  return record.release();
}

bool DialogSession::applyMaterials(const RenderOptions& options, std::string* error) {
  if (options.materials.empty()) return true;
  const std::vector<MaterialRole> roles = materialRoles(settings().MainEffect);
  for (const auto& wanted : options.materials) {
    bool onPage = false;
    for (const MaterialRole& role : roles) onPage = onPage || wanted.first == role.name;
    if (!onPage) {
      *error = "--" + wanted.first + " does not apply to the effect \"" + effectRow(settings().MainEffect).name + "\"";
      return false;
    }
  }
  for (const MaterialRole& role : roles) {
    auto it = options.materials.find(role.name);
    if (it == options.materials.end()) continue;
    MemBlock fresh(materialFromSpec(it->second, error));
    if (!fresh) return false;
    auto current = MemHandle(reinterpret_cast<uintptr_t>(dialog_->boundVariable(role.id)));
    if (current && memSize(current) >= kMaterialRecordSize) {
      // The button keeps its own block; only its bytes change (and the tile
      // and preview images it held are given up for the new ones).
      MemLock to(current);
      MemLock from(fresh.get());
      if (!to || !from) {
        *error = "out of memory";
        return false;
      }
      tileSelectionFreeImage(to.data() + material::kTileSelection);
      memFree(readU32(to.data() + material::kPreviewImage));
      std::memcpy(to.data(), from.data(), kMaterialRecordSize);
      continue;
    }
    dialog_->setBinding(role.id, uint8_t(ControlKind::kMaterialButton), reinterpret_cast<void*>(uintptr_t(fresh.get())));
    boundHere_.push_back(role.id);
    records_.push_back(std::move(fresh));
  }
  return true;
}

void DialogSession::warnOutOfRange(const RenderOptions& options) const {
  // The dialog clamps a spin field's number to its range without a word;
  // asked for on the command line, the user hears what the build takes.
  std::vector<std::string> keys;
  for (const auto& set : options.sets) keys.push_back(set.first);
  if (options.frames) keys.push_back(effectKeyPrefix(effectRow(clampEffectIndex(settings().MainEffect))) + "Frames");
  for (const std::string& key : keys) {
    const int32_t* number = settingNumber(settings(), key.c_str());
    if (!number) continue;
    for (uint32_t id : dialog_->controlOrder()) {
      if (dialog_->boundVariable(id) != number || dialog_->boundKind(id) != uint8_t(ControlKind::kSpinField)) continue;
      const SpinRange range = spinFieldRange(*dialog_, id);
      if (!range.hasRange || (*number >= range.min && *number <= range.max)) break;
      warn(key + " " + std::to_string(*number) + " is outside " + std::to_string(range.min) + " to " +
           std::to_string(range.max) + "; the build takes " + std::to_string(spinFieldValue(*dialog_, id)));
      break;
    }
  }
}

bool DialogSession::applyOptions(const RenderOptions& options, std::vector<const void*>* changed,
                                 std::string* error) {
  if (options.effect) {
    if (!selectEffect(*options.effect, error)) return false;
    changed->push_back(&settings().MainEffect);
  }
  if (options.palette) {
    if (!selectPalette(*options.palette, error)) return false;
    changed->push_back(&settings().MainPalette);
  }
  for (const auto& set : options.sets) {
    if (!applySetting(set.first, set.second, error)) return false;
    if (const void* v = settingNumber(settings(), set.first.c_str())) changed->push_back(v);
    if (const void* v = settingText(settings(), set.first.c_str())) changed->push_back(v);
  }
  if (options.frames) {
    const EffectRow& row = effectRow(clampEffectIndex(settings().MainEffect));
    std::string key = effectKeyPrefix(row) + "Frames";
    int32_t* frames = settingNumber(settings(), key.c_str());
    if (!frames) {
      *error = std::string("\"") + row.name + "\" has no frame count of its own";
      return false;
    }
    *frames = *options.frames;
    changed->push_back(frames);
  }
  return true;
}

bool DialogSession::openDocumentFile(const std::string& path, std::vector<DocumentLine>* report,
                                     std::string* error) {
  // The plug-in's message about the file becomes the command's error line.
  std::string message;
  setMessageResponder([&](const std::string&, const std::string& text) {
    if (message.empty()) message = text;
    return 1;
  });
  bool read = openDocument(*dialog_, path, report);
  setMessageResponder(nullptr);
  if (!read) {
    *error = path + ": " + (message.empty() ? std::string("cannot be read") : message);
    return false;
  }
  mainDialogDocumentLoaded(*dialog_);
  return true;
}

void DialogSession::findAnimationBesideDocument(const std::string& document) {
  // A document keeps the animation's path as the user chose it. A relative
  // one that is not found from the working folder is looked for beside the
  // document, so a document and its animation can travel together; one found
  // nowhere leaves the built-in animation, which the user is told about when
  // the effect that shows it is the one being built.
  const bool shown = settings().MainEffect == findEffect("Omni");
  for (uint32_t id : dialog_->childIds()) {
    if (boundKindOf(*dialog_, id) != ControlKind::kAnimationSelector) continue;
    const std::string line = documentLineOf(*dialog_, id);
    const size_t at = line.find('=');
    const std::string path = at == std::string::npos ? std::string() : line.substr(at + 1);
    if (path.empty() || access(path.c_str(), R_OK) == 0) continue;
    const size_t slash = document.rfind('/');
    const std::string beside = path[0] == '/' || slash == std::string::npos
                                   ? std::string()
                                   : document.substr(0, slash + 1) + path;
    if (!beside.empty() && beside.size() < kSettingTextSize && access(beside.c_str(), R_OK) == 0)
      applyDocumentLine(*dialog_, id, line.substr(0, at + 1) + beside);
    else if (shown)
      warn("the document's animation " + path + " is not found; the built-in animation is used");
  }
}

bool DialogSession::prepare(const RenderOptions& options, const uint8_t* hostParams, std::string* error) {
  if (!options.configFile.empty()) {
    std::string problem;
    if (!readSettingsFile(options.configFile, settings(), &problem)) {
      *error = "configuration file '" + options.configFile + "': " + problem;
      return false;
    }
    const int32_t effect = settings().MainEffect;
    if (effect < 0 || effect >= kEffectCount)
      warn("MainEffect " + std::to_string(effect) + " in the configuration file is outside 0 to " +
           std::to_string(kEffectCount - 1) + "; the build takes " + std::to_string(clampEffectIndex(effect)));
  }
  // Without a document the options go into the settings before the dialog
  // shows them; with one they go over what the document set.
  std::vector<const void*> changed;
  if (options.document.empty() && !applyOptions(options, &changed, error)) return false;

  dialog_ = InMemoryDialog::fromResource(ResourceName::number(IDD_MAIN));
  if (!dialog_) {
    *error = "the main dialog's template is missing";
    return false;
  }
  // As if Shift were held: the dialog takes the settings as they stand and
  // no configuration or material file of the user's is read.
  bool wasDown = shiftKeyDown();
  testing::setShiftKeyDown(true);
  bool ready = mainDialogInit(*dialog_, hostParams, kScreenWidth, kScreenHeight);
  testing::setShiftKeyDown(wasDown);
  // Nor is one written when the session ends: a render leaves the plug-in's
  // remembered materials as they were.
  materialButtonServices().keepFiles = false;
  if (!ready) {
    *error = "the dialog could not be initialised";
    return false;
  }
  if (!options.document.empty()) {
    if (!openDocumentFile(options.document, nullptr, error)) return false;
    findAnimationBesideDocument(options.document);
    if (!applyOptions(options, &changed, error)) return false;
    for (uint32_t id : dialog_->childIds())
      if (std::find(changed.begin(), changed.end(), dialog_->boundVariable(id)) != changed.end())
        showBoundValue(*dialog_, id);
    if (options.effect) gw::selectEffect(*dialog_, settings().MainEffect);
  }
  warnOutOfRange(options);
  if (options.customPalette) dialog_->setChecked(IDC_CUSTOM_PALETTE, *options.customPalette);
  if (options.alphaBackground) dialog_->setChecked(IDC_ALPHA_BACKGROUND, *options.alphaBackground);
  return applyMaterials(options, error);
}

bool DialogSession::prepareForCheck(const std::string& document, const uint8_t* hostParams,
                                    std::vector<DocumentLine>* report, std::string* error) {
  RenderOptions none;
  if (!prepare(none, hostParams, error)) return false;
  return openDocumentFile(document, report, error);
}

DialogSession::~DialogSession() {
  // Our records leave the dialog before they are freed; the pages free theirs.
  if (dialog_) {
    for (uint32_t id : boundHere_) dialog_->setBinding(id, uint8_t(ControlKind::kMaterialButton), nullptr);
    releaseEffectPages(*dialog_);
  }
  for (MemBlock& b : records_) {
    MemLock lock(b.get());
    if (lock) tileSelectionFreeImage(lock.data() + material::kTileSelection);
  }
}

bool chooseAnimation(RenderOptions* options, RenderHost* host, std::string* error) {
  if (!options->animation) return true;
  char full[PATH_MAX];
  if (!realpath(options->animation->c_str(), full)) {
    *error = "cannot open the animation " + *options->animation;
    return false;
  }
  if (std::string(full).size() >= 260) {
    *error = "the animation's path is longer than 259 characters";
    return false;
  }
  MemBlock check(decodeAnimationFile(full, error));
  if (!check) return false;
  options->sets.emplace_back("Style011AnimPath", full);
  host->animationChoice = full;
  return true;
}

}  // namespace gw::cli
