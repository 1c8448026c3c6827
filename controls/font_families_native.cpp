#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "controls/font_families.h"

namespace gw {

std::vector<std::string> screenFontFamilies() {
  std::vector<std::string> faces;
  std::unique_ptr<FcPattern, void (*)(FcPattern*)> pattern(FcPatternCreate(), FcPatternDestroy);
  std::unique_ptr<FcObjectSet, void (*)(FcObjectSet*)> objects(FcObjectSetBuild(FC_FAMILY, nullptr),
                                                               FcObjectSetDestroy);
  if (!pattern || !objects) return faces;
  std::unique_ptr<FcFontSet, void (*)(FcFontSet*)> set(FcFontList(nullptr, pattern.get(), objects.get()),
                                                       FcFontSetDestroy);
  if (!set) return faces;
  for (int i = 0; i < set->nfont; ++i) {
    FcChar8* family = nullptr;
    if (FcPatternGetString(set->fonts[i], FC_FAMILY, 0, &family) == FcResultMatch && family && *family)
      faces.emplace_back(reinterpret_cast<const char*>(family));
  }
  // A sorted list compares without regard to case.
  auto lower = [](std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
  };
  std::sort(faces.begin(), faces.end(), [&](const std::string& a, const std::string& b) {
    return lower(a) < lower(b);
  });
  faces.erase(std::unique(faces.begin(), faces.end()), faces.end());
  return faces;
}

}  // namespace gw
