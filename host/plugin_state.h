// Process-wide state of the plug-in: it lives as long as the library stays
// loaded, so a second run in the same process starts from what the first left.
#pragma once

#include <cstdint>
#include <string>

namespace gw {

struct PluginState {
  const uint8_t* hostParams = nullptr;  // the current run's HostParams, set when the dialog starts
  std::string moduleFolder;             // recomputed every run
  std::string dataFolder;               // computed once per process
  bool dataFolderSet = false;
  int32_t editListMaximum = 0;          // host setting "EditListMaximum", 0 when not given
};

PluginState& pluginState();

}  // namespace gw
