// One harness per parser of untrusted bytes. Built with -DGW_FUZZ_MAIN and
// -DGW_FUZZ_NAME="name" (see scripts/fuzz.sh) a harness is libFuzzer's target; built into the
// native suite, every harness registers itself and the suite replays its seed
// corpus and every reproducer kept under tests/fuzz/regressions/<name>/.
//
//   GW_FUZZ_TARGET(settings_file) {      // data, size: the input
//     ...parse, write back, parse again...
//     GW_FUZZ_CHECK(first == second);    // beyond "no crash"
//   }
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace gw::fuzz {

using Target = void (*)(const uint8_t* data, size_t size);
struct Registered {
  const char* name;
  Target target;
};
std::vector<Registered>& registry();
bool registerTarget(const char* name, Target target);

// A private folder for this process, removed at exit; the plug-in's own
// folders point into it, so no harness touches the user's files.
const std::string& scratchFolder();
// Writes `data` to a file in the scratch folder and returns its path.
std::string scratchFile(const char* name, const uint8_t* data, size_t size);

}  // namespace gw::fuzz

// A property the input must keep; a broken one is a finding.
#define GW_FUZZ_CHECK(cond)                                                          \
  do {                                                                               \
    if (!(cond)) {                                                                   \
      std::fprintf(stderr, "%s:%d: fuzz check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                  \
    }                                                                                \
  } while (0)

// Every harness registers itself; a libFuzzer program (built with
// GW_FUZZ_NAME set to one harness's name) runs that one.
#define GW_FUZZ_ENTRY(name) \
  static const bool gwFuzzRegistered_##name = gw::fuzz::registerTarget(#name, &gwFuzz_##name);

#define GW_FUZZ_TARGET(name)                                   \
  static void gwFuzz_##name(const uint8_t* data, size_t size); \
  GW_FUZZ_ENTRY(name)                                          \
  static void gwFuzz_##name(const uint8_t* data, size_t size)
