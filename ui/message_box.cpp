#include "ui/message_box.h"

#include "platform/message_dialog.h"

namespace gw {
namespace {
bool g_softButtons = false;  // process-wide: set from the host's setting each run
}

void showMessage(WindowId owner, const std::string& text) {
  runMessageDialog(owner, "MessageBox", text, g_softButtons);
}

int askYesNo(WindowId owner, const std::string& text) {
  return runMessageDialog(owner, "YesnoBox", text, g_softButtons);
}

int askYesNoCancel(WindowId owner, const std::string& text) {
  return runMessageDialog(owner, "YesNoCancelBox", text, g_softButtons);
}

void setSoftButtons(bool soft) { g_softButtons = soft; }
bool softButtons() { return g_softButtons; }

}  // namespace gw
