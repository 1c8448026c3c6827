#include "ui/help_request.h"

#include <utility>

#include "ui/message_box.h"

namespace gw {

const char kHelpDisplayError[] = "There has been an error displaying the Help document.";

namespace {
// Process-wide like the HostParams pointer it stands for; set by the main
// dialog for its run.
HelpHandler& handler() {
  static HelpHandler h;
  return h;
}
}  // namespace

void setHelpHandler(HelpHandler h) { handler() = std::move(h); }

void showHelpTopic(WindowId owner, const std::string& topic) {
  if (!handler() || !handler()(topic)) showMessage(owner, kHelpDisplayError);
}

}  // namespace gw
