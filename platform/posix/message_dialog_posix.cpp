#include <cstdio>

#include "platform/dialog_template.h"
#include "platform/message_dialog.h"

namespace gw {
namespace {
MessageResponder& responder() {
  static MessageResponder r;
  return r;
}

// The template's default push button (BS_DEFPUSHBUTTON), else its first button.
int defaultButton(const DialogTemplate& t) {
  int first = 0;
  for (const DialogItem& item : t.items) {
    if (item.className != "Button") continue;
    if ((item.style & 0x0F) == 1) return int(item.id);
    if (!first) first = int(item.id);
  }
  return first;
}
}  // namespace

int runMessageDialog(WindowId, const std::string& templateName, const std::string& text, bool) {
  auto t = loadDialogTemplate(ResourceName::text(templateName));
  if (!t) return 0;
  if (responder()) return responder()(templateName, text);
  std::fprintf(stderr, "%s\n", text.c_str());
  return defaultButton(*t);
}

void setMessageResponder(MessageResponder r) { responder() = std::move(r); }

}  // namespace gw
