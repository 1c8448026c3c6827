// Texture groups: any text is read whole or refused; every value read lies in
// its key's range; what was read, written and read again is the same group.
#include <cmath>
#include <string>

#include "materials/texture_group.h"
#include "materials/texture_group_keys.h"
#include "tests/fuzz/fuzz_target.h"

GW_FUZZ_TARGET(texture_group) {
  using namespace gw;
  TextureGroup group;
  if (!textureGroupParse(reinterpret_cast<const char*>(data), size, &group)) return;
  GW_FUZZ_CHECK(group.items.size() <= kTextureGroupMaxItems);
  size_t count;
  const TextureGroupKey* keys = textureGroupKeys(&count);
  for (const TextureItem& item : group.items) {
    GW_FUZZ_CHECK(item.name.size() <= kTextureNameMax);
    for (size_t i = 0; i < count; ++i) {
      const TextureGroupKey& k = keys[i];
      if (k.kind == TextureKeyKind::kName) continue;
      const double v = textureKeyValue(k, item.settings.data());
      GW_FUZZ_CHECK(!std::isnan(v));
      if (k.kind == TextureKeyKind::kColour) GW_FUZZ_CHECK(v <= 0xFFFFFF);
    }
  }
  group.writeable = true;
  const std::string text = textureGroupFormat(group, TextureGroupStamp{"Thu Jan  1 00:00:00 1970", "", ""});
  TextureGroup again;
  GW_FUZZ_CHECK(textureGroupParse(text.data(), text.size(), &again));
  GW_FUZZ_CHECK(again.items.size() == group.items.size());
  // Settings written with six decimals come back within that precision; the
  // text written from them is then a fixed point.
  const std::string text2 = textureGroupFormat(again, TextureGroupStamp{"Thu Jan  1 00:00:00 1970", "", ""});
  TextureGroup third;
  GW_FUZZ_CHECK(textureGroupParse(text2.data(), text2.size(), &third));
  GW_FUZZ_CHECK(textureGroupFormat(third, TextureGroupStamp{"Thu Jan  1 00:00:00 1970", "", ""}) == text2);
}
