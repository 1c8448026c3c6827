#include "host/plugin_entry.h"

#include <cstring>

#include "base/le_bytes.h"
#include "protocol/host_protocol.h"
#include "host/main_dialog.h"
#include "host/plugin_state.h"
#include "platform/folders.h"
#include "platform/interface_fonts.h"
#include "platform/rasteriser.h"
#include "ui/message_box.h"

namespace gw {

const char kPluginName[] = "Glyphwright #5";
const char kPluginDescription[] =
    "Glyphwright 5 Plugin - Copyright (c) 2026 Quillmere. All rights reserved.";
const char kHostTooOldMessage[] =
    "You need a newer version of Celmaker Professional or Reelmaker to support this plugin.\n\n"
    "Please visit the Quillmere web page to update your software.";

int pluginGetParams(uint8_t* info) {
  if (!info) return 0;
  uint32_t size = readU32(info + plugin_info::kSize);
  if (size < plugin_info::kDescription + 1) {
    // Too small for even an empty description: clear what the host gave us
    // beyond the size word and report failure instead of writing past it.
    if (size > 4) std::memset(info + 4, 0, size - 4);
    return 0;
  }
  std::memset(info + 4, 0, size - 4);
  writeU32(info + plugin_info::kVersion, kInterfaceVersion);
  writeFixedText(info + plugin_info::kName, plugin_info::kNameWidth, kPluginName);
  writeFixedText(info + plugin_info::kDescription, size - plugin_info::kDescription, kPluginDescription);
  return 1;
}

int pluginDoBuild(WindowId window, const uint8_t* params) {
  if (!params) return 0;
  HostParamsView host = hostParamsRead(params);
  if ((host.hostVersion >> 8) < 0x10) {
    showMessage(window, kHostTooOldMessage);
    return 0;
  }
  rasteriserMaintenance(kRasteriserRunStarts);
  createInterfaceFonts();

  PluginState& state = pluginState();
  state.moduleFolder = moduleFolder();
  if (!state.dataFolderSet) {
    state.dataFolder = documentsFolder();
    state.dataFolderSet = true;
  }

  runMainDialog(window, params);

  updateWindow(window);
  deleteInterfaceFonts();
  rasteriserMaintenance(kRasteriserRunEnds);
  return 1;
}

}  // namespace gw
