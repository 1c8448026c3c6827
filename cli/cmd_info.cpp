#include <cstdio>

#include "base/le_bytes.h"
#include "cli/command.h"
#include "protocol/host_protocol.h"
#include "host/plugin_entry.h"

namespace gw::cli {

// Asks the plug-in to identify itself exactly as a host does, through
// PLUGIN16GetPluginParams' logic on a host-sized record.
int runInfo(const std::vector<std::string>& args) {
  if (!args.empty()) return usageError(*findCommand("info"), "takes no arguments");
  uint8_t info[1024] = {};
  writeU32(info, sizeof info);
  if (!pluginGetParams(info)) return fail("the plug-in did not identify itself");
  const char* name = reinterpret_cast<const char*>(info + plugin_info::kName);
  const char* description = reinterpret_cast<const char*>(info + plugin_info::kDescription);
  uint32_t version = readU32(info + plugin_info::kVersion);
  std::printf("name:        %.*s\n", int(fixedTextLength(info + plugin_info::kName, plugin_info::kNameWidth)), name);
  std::printf("description: %.*s\n",
              int(fixedTextLength(info + plugin_info::kDescription, sizeof info - plugin_info::kDescription)),
              description);
  std::printf("version:     %u (0x%04X)\n", unsigned(version), unsigned(version));
  return kExitOk;
}

}  // namespace gw::cli
