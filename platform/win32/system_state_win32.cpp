#include <windows.h>

#include "platform/system_state.h"

namespace gw {
namespace {
std::string registryText(const char* value) {
  static const char* const kKeys[] = {"Software\\Microsoft\\Windows NT\\CurrentVersion",
                                      "Software\\Microsoft\\Windows\\CurrentVersion"};
  for (const char* key : kKeys) {
    HKEY h;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_READ, &h) != ERROR_SUCCESS) continue;
    char buf[261] = {};
    DWORD size = sizeof buf - 1;
    DWORD type = 0;
    LONG rc = RegQueryValueExA(h, value, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size);
    RegCloseKey(h);
    if (rc == ERROR_SUCCESS && type == REG_SZ) return std::string(buf);
  }
  return {};
}
}  // namespace

bool shiftKeyDown() { return (GetKeyState(VK_SHIFT) & 0x8000) != 0; }
namespace testing {
void setShiftKeyDown(bool) {}
}  // namespace testing

std::string registeredOwner() { return registryText("RegisteredOwner"); }
std::string registeredOrganization() { return registryText("RegisteredOrganization"); }

}  // namespace gw

namespace gw {
uint32_t buttonHighlightColour() { return uint32_t(GetSysColor(COLOR_BTNHIGHLIGHT)) & 0xFFFFFF; }
}  // namespace gw
