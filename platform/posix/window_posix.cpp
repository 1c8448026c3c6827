#include "platform/interface_fonts.h"
#include "platform/window.h"

namespace gw {
namespace {
bool g_fontsLive = false;
}
void updateWindow(WindowId) {}
void createInterfaceFonts() { g_fontsLive = true; }
void deleteInterfaceFonts() { g_fontsLive = false; }
void* interfaceFont(InterfaceFont) { return nullptr; }
bool interfaceFontsLive() { return g_fontsLive; }
}  // namespace gw
