// The three fonts every dialog of a run uses: "Arial" 14, "MS Sans Serif" 14
// and "Arial" 12 (the small caption font). Created at the start of a run and
// deleted at its end; natively there are no window fonts and only the count
// of live font sets is kept.
#pragma once
namespace gw {
enum class InterfaceFont { kArial14 = 0, kSansSerif14 = 1, kArial12 = 2 };
void createInterfaceFonts();
void deleteInterfaceFonts();
// The font's handle (an HFONT on Windows), or nullptr outside a run.
void* interfaceFont(InterfaceFont which);
bool interfaceFontsLive();
}  // namespace gw
