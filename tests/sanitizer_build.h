// Whether this test binary was built with AddressSanitizer (the sanitizer tree
// builds it together with UBSan). Rendering there runs many times slower, and
// starting a thread far more so, so a test that builds every frame of a
// key's largest frame count builds a bounded count there instead; the normal
// build keeps the key's real maximum.
//
//   const int top = gw::testing::framesUnderSanitizer(hi);  // hi, or the cap
#pragma once

#include <algorithm>

#if defined(__SANITIZE_ADDRESS__)
#define GW_TESTS_UNDER_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define GW_TESTS_UNDER_SANITIZER 1
#endif
#endif
#ifndef GW_TESTS_UNDER_SANITIZER
#define GW_TESTS_UNDER_SANITIZER 0
#endif

namespace gw {
namespace testing {

constexpr bool kUnderSanitizer = GW_TESTS_UNDER_SANITIZER != 0;

// The most frames a sanitizer run builds in one whole build: enough for
// several batches of every thread and for both ends of a loop.
constexpr int kSanitizerFrameCap = 96;

// `frames`, or under a sanitizer at most kSanitizerFrameCap.
constexpr int framesUnderSanitizer(int frames, bool sanitizer = kUnderSanitizer) {
  return sanitizer ? std::min(frames, kSanitizerFrameCap) : frames;
}

}  // namespace testing
}  // namespace gw
