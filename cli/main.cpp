#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "cli/command.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace gw::cli {

namespace {

// A render frees and takes again blocks of the frame's size many times, and
// a large frame is beyond glibc's default cut for mapping a block of its
// own: every time, the block is mapped, faulted in page by page, and
// unmapped. On a 65529 x 251 animation that was half of the run. The
// process renders once and ends, so freed memory is kept for the next block.
void keepFreedMemory() {
#ifdef __GLIBC__
  mallopt(M_MMAP_MAX, 0);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
#endif
}

void printHelp(FILE* out) {
  std::fprintf(out,
               "glyphwright - renders text animations with the Glyphwright 5 plug-in's own code\n\n"
               "usage: glyphwright COMMAND [options]\n\ncommands:\n");
  for (const Command& c : commands()) std::fprintf(out, "  %-10s %s\n", c.name, c.summary);
  std::fprintf(out, "\n'glyphwright COMMAND --help' shows a command's options.\n");
}
}  // namespace

}  // namespace gw::cli

int main(int argc, char** argv) {
  using namespace gw::cli;
  keepFreedMemory();
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    printHelp(stderr);
    return kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    printHelp(stdout);
    return kExitOk;
  }
  const Command* command = findCommand(args[0]);
  if (!command) {
    std::fprintf(stderr, "glyphwright: unknown command '%s'\n\n", args[0].c_str());
    printHelp(stderr);
    return kExitUsage;
  }
  args.erase(args.begin());
  if (!args.empty() && (args[0] == "--help" || args[0] == "-h")) {
    std::printf("usage: glyphwright %s %s\n", command->name, command->usage);
    return kExitOk;
  }
  // The last line of defence: a command that runs out of memory says so and
  // fails like any other, with its temporaries already removed on the way out.
  try {
    return command->run(args);
  } catch (const std::bad_alloc&) {
    return fail("out of memory");
  } catch (const std::exception& e) {
    return fail(e.what());
  }
}
