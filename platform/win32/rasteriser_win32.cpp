// The letter rasteriser on Windows: a GDI font selected into a
// screen-compatible memory device context; GetGlyphOutline gives each
// letter's advance and its gray-level bitmap (0..64, scaled to 0..255) or,
// without antialiasing, its one-bit bitmap.
#include <windows.h>

#include <algorithm>
#include <map>
#include <set>

#include "platform/code_page_1252.h"
#include "platform/rasteriser_backend.h"

namespace gw::rasteriser_backend {
namespace {

struct OpenFont {
  HDC dc = nullptr;
  HFONT font = nullptr;
  HGDIOBJ previous = nullptr;
  int32_t ascent = 0;
};

// Process-wide, like the library this stands for: the fonts open now.
std::map<uint32_t, OpenFont>& fonts() {
  static std::map<uint32_t, OpenFont> open;
  return open;
}
uint32_t g_nextFont = 1;

OpenFont* findFont(uint32_t font) {
  auto it = fonts().find(font);
  return it == fonts().end() ? nullptr : &it->second;
}

MAT2 identity() {
  MAT2 m = {};
  m.eM11.value = 1;
  m.eM22.value = 1;
  return m;
}

void release(OpenFont& f) {
  if (f.dc && f.previous) SelectObject(f.dc, f.previous);
  if (f.font) DeleteObject(f.font);
  if (f.dc) DeleteDC(f.dc);
  f = OpenFont();
}

int CALLBACK collectFamily(const LOGFONTA* logFont, const TEXTMETRICA*, DWORD type, LPARAM data) {
  auto* names = reinterpret_cast<std::set<std::string>*>(data);
  // Vertical variants ("@Name") are the same family turned on its side.
  if ((type & TRUETYPE_FONTTYPE) && logFont->lfFaceName[0] != '@') names->insert(logFont->lfFaceName);
  return 1;
}

}  // namespace

uint32_t openFont(const FontRequest& request, FontMetrics* metrics) {
  OpenFont f;
  // A positive height asks for the cell height (ascent + descent).
  f.font = CreateFontA(request.height, 0, 0, 0, request.bold ? FW_BOLD : FW_NORMAL, request.italic ? TRUE : FALSE,
                       FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, request.face.c_str());
  if (!f.font) return 0;
  f.dc = CreateCompatibleDC(nullptr);
  if (!f.dc) {
    release(f);
    return 0;
  }
  SetMapMode(f.dc, MM_TEXT);
  f.previous = SelectObject(f.dc, f.font);
  TEXTMETRICA tm = {};
  if (!f.previous || !GetTextMetricsA(f.dc, &tm)) {
    release(f);
    return 0;
  }
  f.ascent = tm.tmAscent;
  metrics->height = tm.tmHeight;
  metrics->ascent = tm.tmAscent;
  metrics->descent = tm.tmDescent;
  uint32_t handle = g_nextFont++;
  if (g_nextFont == 0) g_nextFont = 1;
  fonts()[handle] = f;
  return handle;
}

void closeFont(uint32_t font) {
  auto it = fonts().find(font);
  if (it == fonts().end()) return;
  release(it->second);
  fonts().erase(it);
}

bool measure(uint32_t font, uint8_t letter, int32_t* advance) {
  OpenFont* f = findFont(font);
  if (!f) return false;
  GLYPHMETRICS gm = {};
  MAT2 m = identity();
  // Letters are code page 1252 bytes, whatever the system's ANSI page is.
  if (GetGlyphOutlineW(f->dc, WCHAR(codePoint1252(letter)), GGO_METRICS, &gm, 0, nullptr, &m) == GDI_ERROR) return false;
  *advance = gm.gmCellIncX;
  return true;
}

bool render(uint32_t font, uint8_t letter, bool antialias, Coverage* out) {
  OpenFont* f = findFont(font);
  if (!f) return false;
  GLYPHMETRICS gm = {};
  MAT2 m = identity();
  UINT format = antialias ? GGO_GRAY8_BITMAP : GGO_BITMAP;
  DWORD size = GetGlyphOutlineW(f->dc, WCHAR(codePoint1252(letter)), format, &gm, 0, nullptr, &m);
  if (size == GDI_ERROR) return false;
  *out = Coverage();
  if (size == 0 || gm.gmBlackBoxX == 0 || gm.gmBlackBoxY == 0) return true;  // no ink
  if (gm.gmBlackBoxX > 16384 || gm.gmBlackBoxY > 16384) return false;
  std::vector<uint8_t> buffer(size);
  if (GetGlyphOutlineW(f->dc, WCHAR(codePoint1252(letter)), format, &gm, size, buffer.data(), &m) == GDI_ERROR) return false;
  auto width = int32_t(gm.gmBlackBoxX);
  auto height = int32_t(gm.gmBlackBoxY);
  // Rows of both formats are padded to whole 32-bit words.
  size_t pitch = antialias ? ((size_t(width) + 3) & ~size_t(3)) : (((size_t(width) + 31) / 32) * 4);
  if (pitch * size_t(height) > buffer.size()) return false;
  out->width = width;
  out->height = height;
  out->left = gm.gmptGlyphOrigin.x;
  out->top = f->ascent - gm.gmptGlyphOrigin.y;
  out->pixels.assign(size_t(width) * size_t(height), 0);
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* src = buffer.data() + size_t(y) * pitch;
    uint8_t* dst = out->pixels.data() + size_t(y) * size_t(width);
    for (int32_t x = 0; x < width; ++x) {
      if (antialias)
        dst[x] = uint8_t((std::min<int>(src[x], 64) * 255 + 32) / 64);
      else
        dst[x] = (src[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
    }
  }
  return true;
}

void runEnds() {}

std::vector<std::string> families() {
  std::set<std::string> names;
  HDC dc = GetDC(nullptr);
  if (!dc) return {};
  LOGFONTA query = {};
  query.lfCharSet = DEFAULT_CHARSET;
  EnumFontFamiliesExA(dc, &query, collectFamily, reinterpret_cast<LPARAM>(&names), 0);
  ReleaseDC(nullptr, dc);
  return std::vector<std::string>(names.begin(), names.end());
}

std::string substituteFamily(const std::string& face) {
  // The font mapper's choice is what a font made for `face` reports as its face.
  HFONT font = CreateFontA(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_TT_PRECIS,
                           CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (!font) return {};
  std::string name;
  if (HDC dc = CreateCompatibleDC(nullptr)) {
    HGDIOBJ previous = SelectObject(dc, font);
    char chosen[LF_FACESIZE] = {};
    if (previous && GetTextFaceA(dc, LF_FACESIZE, chosen) > 0) name = chosen;
    if (previous) SelectObject(dc, previous);
    DeleteDC(dc);
  }
  DeleteObject(font);
  return name;
}

}  // namespace gw::rasteriser_backend
