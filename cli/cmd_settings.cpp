#include <cstdio>
#include <string>

#include "cli/command.h"
#include "platform/system_state.h"
#include "settings/settings_file.h"

namespace gw::cli {

// Prints the configuration file the plug-in would write: the built-in
// defaults, or the defaults with the lines of FILE applied as the dialog
// applies them when it opens.
int runSettings(const std::vector<std::string>& args) {
  const Command& self = *findCommand("settings");
  std::string file;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--file" && i + 1 < args.size()) {
      file = args[++i];
    } else {
      return usageError(self, "unexpected argument: " + args[i]);
    }
  }
  SettingsRecord record;
  std::string problem;
  if (!file.empty() && !readSettingsFile(file, record, &problem)) return fail(file + ": " + problem);
  const std::string text = settingsFileText(record, wallClockSeconds());
  std::fwrite(text.data(), 1, text.size(), stdout);
  return kExitOk;
}

}  // namespace gw::cli
