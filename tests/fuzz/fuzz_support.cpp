#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "tests/fuzz/fuzz_target.h"

namespace gw::fuzz {

std::vector<Registered>& registry() {
  static std::vector<Registered> targets;
  return targets;
}

bool registerTarget(const char* name, Target target) {
  registry().push_back({name, target});
  return true;
}

namespace {

struct Scratch {
  std::string path;
  Scratch() {
    // Most harnesses write every input to a file: in memory (/dev/shm) that
    // costs a fraction of what a disk's journal asks for each new file.
    const char* tmpdir = std::getenv("TMPDIR");
    for (const char* base : {"/dev/shm", tmpdir, "/tmp"}) {
      if (!base || !*base) continue;
      std::string pattern = std::string(base) + "/gw-fuzz.XXXXXX";
      if (mkdtemp(pattern.data())) {
        path = pattern;
        break;
      }
    }
    if (path.empty()) std::abort();
    for (const char* variable : {"GLYPHWRIGHT_APPDATA", "GLYPHWRIGHT_DOCUMENTS"}) setenv(variable, path.c_str(), 1);
  }
  ~Scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
};

}  // namespace

const std::string& scratchFolder() {
  static Scratch scratch;
  return scratch.path;
}

std::string scratchFile(const char* name, const uint8_t* data, size_t size) {
  std::string path = scratchFolder() + "/" + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
  return path;
}

}  // namespace gw::fuzz

#ifdef GW_FUZZ_MAIN
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const gw::fuzz::Target target = [] {
    for (const gw::fuzz::Registered& r : gw::fuzz::registry())
      if (std::string(r.name) == GW_FUZZ_NAME) return r.target;
    std::fprintf(stderr, "no harness named %s\n", GW_FUZZ_NAME);
    std::abort();
    return gw::fuzz::Target(nullptr);
  }();
  target(data, size);
  return 0;
}
#endif
