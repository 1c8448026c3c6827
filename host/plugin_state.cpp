#include "host/plugin_state.h"

namespace gw {

PluginState& pluginState() {
  static PluginState state;
  return state;
}

}  // namespace gw
