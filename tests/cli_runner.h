// Runs the command-line host as a user would, for the tests of its commands.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

struct CliRun {
  int status;       // the exit code, or -1 when the program did not exit normally
  std::string out;  // stdout and stderr together
};

// `args` is a shell command line after the program's name; `environment`
// (e.g. "GLYPHWRIGHT_APPDATA=/tmp/x") is put before it.
inline CliRun runCli(const std::string& args, const std::string& environment = "") {
  std::string cmd = environment + (environment.empty() ? "" : " ") + std::string(GW_CLI_PATH) + " " + args + " 2>&1";
  CliRun r{-1, {}};
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[512];
  while (fgets(buf, sizeof buf, p)) r.out += buf;
  int status = pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}
