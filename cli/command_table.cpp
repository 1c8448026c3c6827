#include "cli/command.h"

namespace gw::cli {

int runInfo(const std::vector<std::string>& args);

const std::vector<Command>& commands() {
  static const std::vector<Command> table = {
      {"info", "show the plug-in's name, description and version", "", runInfo},
  };
  return table;
}

}  // namespace gw::cli
