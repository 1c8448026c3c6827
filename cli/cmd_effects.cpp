#include <cstdio>
#include <string>

#include "cli/command.h"
#include "effects/effect_table.h"
#include "settings/settings_table.h"

namespace gw::cli {

// Lists the 21 effects in table order, each with its page and its
// configuration keys and their built-in defaults, read from the settings table.
int runEffects(const std::vector<std::string>& args) {
  if (!args.empty()) return usageError(*findCommand("effects"), "takes no arguments");
  SettingsRecord defaults;
  for (int i = 0; i < kEffectCount; ++i) {
    const EffectRow& row = effectRow(i);
    const std::string prefix = effectKeyPrefix(row);
    std::printf("%2d %s (page %u, keys %s)%s\n", i, row.name, unsigned(row.page), prefix.c_str(),
                effectAvailable(row) ? "" : " - not available yet");
    for (size_t k = 0; k < settingsTableSize(); ++k) {
      const SettingEntry& e = settingsTable()[k];
      if (std::string(e.key).compare(0, prefix.size(), prefix) != 0) continue;
      if (e.kind == SettingKind::kNumber)
        std::printf("   %s = %d\n", e.key, defaults.*(e.number));
      else
        std::printf("   %s = \"%s\"\n", e.key, defaults.*(e.text));
    }
  }
  return kExitOk;
}

}  // namespace gw::cli
