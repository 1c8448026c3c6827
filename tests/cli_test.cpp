// The command-line host as a user runs it: exit codes and output.
#include <gtest/gtest.h>

#include "tests/cli_runner.h"

#include <cstdio>
#include <string>

namespace {


CliRun run(const std::string& args) { return runCli(args); }

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
