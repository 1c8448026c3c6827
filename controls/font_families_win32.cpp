#include <windows.h>

#include <algorithm>

#include "controls/font_families.h"

namespace gw {
namespace {

int CALLBACK addFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM list) {
  if (font->lfFaceName[0]) reinterpret_cast<std::vector<std::string>*>(list)->push_back(font->lfFaceName);
  return 1;
}

}  // namespace

std::vector<std::string> screenFontFamilies() {
  std::vector<std::string> faces;
  HDC screen = GetDC(nullptr);
  if (!screen) return faces;
  EnumFontFamiliesA(screen, nullptr, addFamily, reinterpret_cast<LPARAM>(&faces));
  ReleaseDC(nullptr, screen);
  std::sort(faces.begin(), faces.end(), [](const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) < 0;
  });
  faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
  return faces;
}

}  // namespace gw
