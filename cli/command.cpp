#include <cstdio>

#include "cli/command.h"

namespace gw::cli {

int fail(const std::string& message) {
  std::fprintf(stderr, "glyphwright: %s\n", message.c_str());
  return kExitFailure;
}

void warn(const std::string& message) { std::fprintf(stderr, "glyphwright: %s\n", message.c_str()); }

int usageError(const Command& command, const std::string& complaint) {
  if (!complaint.empty()) std::fprintf(stderr, "glyphwright %s: %s\n", command.name, complaint.c_str());
  std::fprintf(stderr, "usage: glyphwright %s %s\n", command.name, command.usage);
  return kExitUsage;
}

const Command* findCommand(const std::string& name) {
  for (const Command& c : commands())
    if (name == c.name) return &c;
  return nullptr;
}

}  // namespace gw::cli
