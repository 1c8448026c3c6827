#include "ui/name_prompt.h"

#include "ui/message_box.h"

namespace gw {

GroupPrompts messageBoxPrompts(WindowId owner) {
  GroupPrompts p;
  p.message = [owner](const std::string& text) { showMessage(owner, text); };
  p.askYesNo = [owner](const std::string& text) { return askYesNo(owner, text) == kAnswerYes; };
  p.askName = [owner](const std::string& title, std::string* text) { return askForName(owner, title, text); };
  return p;
}

}  // namespace gw
