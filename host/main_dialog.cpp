#include "host/main_dialog.h"

#include <algorithm>

#include "base/le_bytes.h"
#include "host/host_protocol.h"
#include "host/plugin_state.h"
#include "platform/string_table.h"
#include "resources/resource_ids.h"
#include "ui/message_box.h"

namespace gw {

const char kHelpFileName[] = "glwplug5.htm";
const char kHelpErrorMessage[] = "There has been an error displaying the Help document.";

void mainDialogInit(DialogFacade& dialog, const uint8_t* params, int screenWidth, int screenHeight) {
  PluginState& state = pluginState();
  state.hostParams = params;

  uint8_t size[8] = {};
  hostCall(params, nullptr, kHostFileDialogSize, 0, size);
  state.fileDialogWidth = std::min(readI32(size), screenWidth);
  state.fileDialogHeight = std::min(readI32(size + 4), screenHeight);

  int32_t value = 0;
  state.editListMaximum = hostIntegerSetting(params, "EditListMaximum", &value) ? value : 0;
  value = 0;
  setSoftButtons(hostIntegerSetting(params, "SoftButtons", &value) && value != 0);
}

bool mainDialogCommand(DialogFacade& dialog, uint32_t id, int* endWith) {
  switch (id) {
    case IDC_BUILD:
    case IDC_TEST:
      showMessage(dialog.window(), loadString(kStrUnsupportedFunction));
      return false;
    case IDC_CANCEL:
      *endWith = IDC_CANCEL;
      return true;
    case IDC_HELP_BUTTON: {
      std::string name = pluginState().moduleFolder + kHelpFileName;
      if (!hostCall(pluginState().hostParams, nullptr, kHostHelp, 0, const_cast<char*>(name.c_str())))
        showMessage(dialog.window(), kHelpErrorMessage);
      return false;
    }
    default:
      return false;
  }
}

}  // namespace gw
