// Sub-commands of the command-line host. Each lives in its own cmd_*.cpp and
// is listed once in command_table.cpp.
//
// Exit codes: 0 success; 1 failure, with a one-line error on stderr; 2 usage
// error (the command's usage on stderr).
#pragma once

#include <string>
#include <vector>

namespace gw::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct Command {
  const char* name;
  const char* summary;
  const char* usage;  // the lines after "usage: glyphwright NAME"
  int (*run)(const std::vector<std::string>& args);
};

const std::vector<Command>& commands();

// Prints "glyphwright: <message>" on stderr and returns kExitFailure.
int fail(const std::string& message);
// Prints "glyphwright: <message>" on stderr and goes on: what was clamped,
// cut or left out of what the user asked for.
void warn(const std::string& message);
// Prints the command's usage (with an optional complaint) and returns kExitUsage.
int usageError(const Command& command, const std::string& complaint);
const Command* findCommand(const std::string& name);

}  // namespace gw::cli
