// The command-line host as a user runs it: exit codes and output.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

struct CliRun {
  int status;
  std::string out;
};

CliRun run(const std::string& args) {
  std::string cmd = std::string(GW_CLI_PATH) + " " + args + " 2>&1";
  CliRun r{-1, {}};
  FILE* p = popen(cmd.c_str(), "r");
  if (!p) return r;
  char buf[512];
  while (fgets(buf, sizeof buf, p)) r.out += buf;
  int status = pclose(p);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

TEST(CommandLine, InfoShowsWhatTheExportFills) {
  CliRun r = run("info");
  EXPECT_EQ(r.status, 0);
  EXPECT_NE(r.out.find("Glyphwright #5"), std::string::npos);
  EXPECT_NE(r.out.find("4096"), std::string::npos);
}

TEST(CommandLine, UsageErrorsExitWithTwo) {
  EXPECT_EQ(run("").status, 2);
  CliRun unknown = run("no-such-command");
  EXPECT_EQ(unknown.status, 2);
  EXPECT_NE(unknown.out.find("unknown command"), std::string::npos);
  EXPECT_EQ(run("info extra").status, 2);
  EXPECT_EQ(run("--help").status, 0);
  EXPECT_EQ(run("info --help").status, 0);
}

}  // namespace
