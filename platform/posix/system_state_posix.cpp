#include <pwd.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include "platform/system_state.h"

namespace gw {
namespace {
std::atomic<bool> g_shiftDown{false};  // stands in for the keyboard
}

bool shiftKeyDown() { return g_shiftDown.load(); }
namespace testing {
void setShiftKeyDown(bool down) { g_shiftDown.store(down); }
}  // namespace testing

std::string registeredOwner() {
  if (const char* v = std::getenv("GLYPHWRIGHT_OWNER")) return v;
  if (const passwd* pw = getpwuid(getuid())) {
    std::string gecos = pw->pw_gecos ? pw->pw_gecos : "";
    gecos = gecos.substr(0, gecos.find(','));
    return gecos.empty() && pw->pw_name ? std::string(pw->pw_name) : gecos;
  }
  return {};
}

std::string registeredOrganization() {
  const char* v = std::getenv("GLYPHWRIGHT_ORGANIZATION");
  return v ? std::string(v) : std::string();
}

}  // namespace gw

namespace gw {
uint32_t buttonHighlightColour() { return 0xFFFFFF; }
}  // namespace gw
