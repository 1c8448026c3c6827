// The letter rasteriser natively: fontconfig chooses the face (family, weight,
// slant, with its own substitution when the family is missing), FreeType
// measures and renders. Weight and slant the chosen face lacks are made up
// by emboldening and shearing the outline, as GDI simulates them.
//
// Like the library it stands for, the rasteriser keeps process-wide state:
// FreeType's library object, the faces it opened, the fonts open now, and a
// cache of letters already rendered, dropped when a run ends.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>

#include "platform/code_page_1252.h"
#include "platform/rasteriser_backend.h"

namespace gw::rasteriser_backend {
namespace {

// Enough for every letter of a few fonts; beyond it the cache starts afresh
// rather than grow without bound in a long session.
constexpr size_t kMaxCachedLetters = 8192;

struct FaceChoice {
  std::string file;
  int index = 0;
  bool embolden = false;  // bold asked, the face is not bold
  bool oblique = false;   // italic asked, the face is upright
};

struct OpenFont {
  FT_Face face = nullptr;
  FT_Size size = nullptr;
  bool embolden = false;
  bool oblique = false;
  int32_t ascent = 0;
  uint32_t cacheId = 0;  // same face, size and synthesis: same id
};

struct CachedAdvance {
  bool ok = false;
  int32_t advance = 0;
};

struct CachedLetter {
  bool ok = false;
  Coverage coverage;
};

struct State {
  FT_Library library = nullptr;
  bool libraryFailed = false;
  std::map<std::pair<std::string, int>, FT_Face> faces;
  std::map<std::string, FaceChoice> choices;
  std::map<uint32_t, OpenFont> fonts;
  uint32_t nextFont = 1;
  std::map<std::string, uint32_t> cacheIds;
  std::unordered_map<uint64_t, CachedAdvance> advances;
  std::unordered_map<uint64_t, CachedLetter> letters;

  ~State() {
    for (auto& f : fonts) FT_Done_Size(f.second.size);
    for (auto& f : faces) FT_Done_Face(f.second);
    if (library) FT_Done_FreeType(library);
  }
};

State& state() {
  static State s;
  return s;
}

FT_Library library() {
  State& s = state();
  if (!s.library && !s.libraryFailed && FT_Init_FreeType(&s.library) != 0) {
    s.library = nullptr;
    s.libraryFailed = true;
  }
  return s.library;
}

// Face names arrive as Latin-1 bytes; fontconfig speaks UTF-8.
std::string latin1ToUtf8(const std::string& text) {
  std::string out;
  for (unsigned char c : text) {
    if (c < 0x80) {
      out += char(c);
    } else {
      out += char(0xC0 | (c >> 6));
      out += char(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool chooseFace(const FontRequest& request, FaceChoice* out) {
  State& s = state();
  std::string key = request.face + (request.bold ? "|b" : "|r") + (request.italic ? "i" : "u");
  auto known = s.choices.find(key);
  if (known != s.choices.end()) {
    *out = known->second;
    return true;
  }
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return false;
  std::string family = latin1ToUtf8(request.face);
  if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, request.bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, request.italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return false;

  FaceChoice choice;
  FcChar8* file = nullptr;
  bool ok = FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file;
  if (ok) {
    choice.file = reinterpret_cast<const char*>(file);
    int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcBool embolden = FcFalse;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) choice.index = index;
    FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(match, FC_SLANT, 0, &slant);
    FcPatternGetBool(match, FC_EMBOLDEN, 0, &embolden);
    choice.embolden = request.bold && (embolden || weight < FC_WEIGHT_DEMIBOLD);
    choice.oblique = request.italic && slant == FC_SLANT_ROMAN;
  }
  FcPatternDestroy(match);
  if (!ok) return false;
  s.choices[key] = choice;
  *out = choice;
  return true;
}

FT_Face loadFace(const FaceChoice& choice) {
  State& s = state();
  auto key = std::make_pair(choice.file, choice.index);
  auto known = s.faces.find(key);
  if (known != s.faces.end()) return known->second;
  FT_Library lib = library();
  if (!lib) return nullptr;
  FT_Face face = nullptr;
  if (FT_New_Face(lib, choice.file.c_str(), choice.index, &face) != 0) return nullptr;
  if (!FT_IS_SCALABLE(face)) {
    FT_Done_Face(face);
    return nullptr;
  }
  // Letters are code page 1252 bytes, drawn as their Unicode characters; a symbol font has only
  // its own map, which is then taken as it is.
  if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && face->num_charmaps > 0)
    FT_Set_Charmap(face, face->charmaps[0]);
  s.faces[key] = face;
  return face;
}

// The cell of a Windows font: usWinAscent + usWinDescent scaled to the
// requested height; fonts without those fields use the horizontal header.
void cellUnits(FT_Face face, long* ascent, long* descent) {
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF && long(os2->usWinAscent) + long(os2->usWinDescent) > 0) {
    *ascent = os2->usWinAscent;
    *descent = os2->usWinDescent;
    return;
  }
  *ascent = face->ascender;
  *descent = -face->descender;
  if (*ascent + *descent <= 0) {
    *ascent = face->units_per_EM * 4 / 5;
    *descent = face->units_per_EM - *ascent;
  }
}

FT_UInt glyphIndex(FT_Face face, uint8_t letter) {
  if (face->charmap && face->charmap->encoding == FT_ENCODING_MS_SYMBOL) {
    if (FT_UInt index = FT_Get_Char_Index(face, 0xF000u | letter)) return index;
  }
  return FT_Get_Char_Index(face, codePoint1252(letter));
}

OpenFont* findFont(uint32_t font) {
  auto it = state().fonts.find(font);
  return it == state().fonts.end() ? nullptr : &it->second;
}

bool loadLetter(OpenFont& f, uint8_t letter, FT_Int32 flags) {
  if (FT_Activate_Size(f.size) != 0) return false;
  if (FT_Load_Glyph(f.face, glyphIndex(f.face, letter), flags | FT_LOAD_NO_BITMAP) != 0) return false;
  if (f.face->glyph->format != FT_GLYPH_FORMAT_OUTLINE) return false;
  if (f.embolden) FT_GlyphSlot_Embolden(f.face->glyph);
  if (f.oblique) FT_GlyphSlot_Oblique(f.face->glyph);
  return true;
}

uint64_t letterKey(const OpenFont& f, uint8_t letter, bool antialias) {
  return (uint64_t(f.cacheId) << 9) | (uint64_t(letter) << 1) | (antialias ? 1 : 0);
}

bool renderUncached(OpenFont& f, uint8_t letter, bool antialias, Coverage* out) {
  FT_Int32 flags = antialias ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO;
  if (!loadLetter(f, letter, flags)) return false;
  FT_GlyphSlot slot = f.face->glyph;
  if (FT_Render_Glyph(slot, antialias ? FT_RENDER_MODE_NORMAL : FT_RENDER_MODE_MONO) != 0) return false;
  const FT_Bitmap& b = slot->bitmap;
  *out = Coverage();
  if (b.width == 0 || b.rows == 0 || !b.buffer) return true;  // no ink
  if (b.pixel_mode != FT_PIXEL_MODE_GRAY && b.pixel_mode != FT_PIXEL_MODE_MONO) return false;
  if (b.width > 16384 || b.rows > 16384) return false;
  out->width = int32_t(b.width);
  out->height = int32_t(b.rows);
  out->left = slot->bitmap_left;
  out->top = f.ascent - slot->bitmap_top;
  out->pixels.assign(size_t(b.width) * b.rows, 0);
  int grays = b.num_grays > 1 ? b.num_grays - 1 : 255;
  for (unsigned y = 0; y < b.rows; ++y) {
    const unsigned char* src = b.pitch >= 0 ? b.buffer + size_t(y) * size_t(b.pitch)
                                            : b.buffer + size_t(b.rows - 1 - y) * size_t(-b.pitch);
    uint8_t* dst = out->pixels.data() + size_t(y) * b.width;
    if (b.pixel_mode == FT_PIXEL_MODE_MONO) {
      for (unsigned x = 0; x < b.width; ++x) dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    } else if (grays == 255) {
      std::memcpy(dst, src, b.width);
    } else {
      for (unsigned x = 0; x < b.width; ++x) dst[x] = uint8_t((src[x] * 255 + grays / 2) / grays);
    }
  }
  return true;
}

}  // namespace

uint32_t openFont(const FontRequest& request, FontMetrics* metrics) {
  State& s = state();
  FaceChoice choice;
  if (!chooseFace(request, &choice)) return 0;
  FT_Face face = loadFace(choice);
  if (!face) return 0;
  long ascentUnits = 0, descentUnits = 0;
  cellUnits(face, &ascentUnits, &descentUnits);
  double cellUnitsTotal = double(ascentUnits + descentUnits);
  double ppem = request.height * double(face->units_per_EM) / cellUnitsTotal;
  auto ppem26 = FT_F26Dot6(std::lround(ppem * 64.0));
  if (ppem26 < 1) ppem26 = 1;

  OpenFont f;
  f.face = face;
  f.embolden = choice.embolden;
  f.oblique = choice.oblique;
  if (FT_New_Size(face, &f.size) != 0) return 0;
  if (FT_Activate_Size(f.size) != 0 || FT_Set_Char_Size(face, 0, ppem26, 72, 72) != 0) {
    FT_Done_Size(f.size);
    return 0;
  }
  f.ascent = int32_t(std::lround(request.height * double(ascentUnits) / cellUnitsTotal));
  f.ascent = std::clamp(f.ascent, 0, request.height);

  std::string cacheName = choice.file + "#" + std::to_string(choice.index) + "@" +
                          std::to_string(long(ppem26)) + (f.embolden ? "b" : "") +
                          (f.oblique ? "i" : "") + "/" + std::to_string(f.ascent);
  auto id = s.cacheIds.find(cacheName);
  if (id == s.cacheIds.end()) id = s.cacheIds.emplace(cacheName, uint32_t(s.cacheIds.size() + 1)).first;
  f.cacheId = id->second;

  uint32_t handle = s.nextFont++;
  if (s.nextFont == 0) s.nextFont = 1;
  s.fonts[handle] = f;
  metrics->height = request.height;
  metrics->ascent = f.ascent;
  metrics->descent = request.height - f.ascent;
  return handle;
}

void closeFont(uint32_t font) {
  State& s = state();
  auto it = s.fonts.find(font);
  if (it == s.fonts.end()) return;
  FT_Done_Size(it->second.size);
  s.fonts.erase(it);
}

bool measure(uint32_t font, uint8_t letter, int32_t* advance) {
  OpenFont* f = findFont(font);
  if (!f) return false;
  State& s = state();
  uint64_t key = letterKey(*f, letter, false);
  auto known = s.advances.find(key);
  if (known == s.advances.end()) {
    if (s.advances.size() >= kMaxCachedLetters) s.advances.clear();
    CachedAdvance a;
    if (loadLetter(*f, letter, FT_LOAD_TARGET_NORMAL)) {
      a.ok = true;
      a.advance = int32_t((f->face->glyph->advance.x + 32) >> 6);
    }
    known = s.advances.emplace(key, a).first;
  }
  if (!known->second.ok) return false;
  *advance = known->second.advance;
  return true;
}

bool render(uint32_t font, uint8_t letter, bool antialias, Coverage* out) {
  OpenFont* f = findFont(font);
  if (!f) return false;
  State& s = state();
  uint64_t key = letterKey(*f, letter, antialias);
  auto known = s.letters.find(key);
  if (known == s.letters.end()) {
    if (s.letters.size() >= kMaxCachedLetters) s.letters.clear();
    CachedLetter l;
    l.ok = renderUncached(*f, letter, antialias, &l.coverage);
    known = s.letters.emplace(key, std::move(l)).first;
  }
  if (!known->second.ok) return false;
  *out = known->second.coverage;
  return true;
}

void runEnds() {
  State& s = state();
  s.advances.clear();
  s.letters.clear();
}

std::vector<std::string> families() {
  std::vector<std::string> names;
  FcPattern* pattern = FcPatternCreate();
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, nullptr);
  if (pattern && objects) {
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    if (FcFontSet* set = FcFontList(nullptr, pattern, objects)) {
      for (int i = 0; i < set->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family)
          names.emplace_back(reinterpret_cast<const char*>(family));
      }
      FcFontSetDestroy(set);
    }
  }
  if (objects) FcObjectSetDestroy(objects);
  if (pattern) FcPatternDestroy(pattern);
  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  return names;
}

std::string substituteFamily(const std::string& face) {
  FcPattern* pattern = FcPatternCreate();
  if (!pattern) return {};
  std::string family = latin1ToUtf8(face);
  if (!family.empty()) FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  if (!match) return {};
  std::string name;
  FcChar8* chosen = nullptr;
  if (FcPatternGetString(match, FC_FAMILY, 0, &chosen) == FcResultMatch && chosen)
    name = reinterpret_cast<const char*>(chosen);
  FcPatternDestroy(match);
  return name;
}

}  // namespace gw::rasteriser_backend
