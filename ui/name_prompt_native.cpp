// The command-line host has no user to ask: a name is never given.
#include "ui/name_prompt.h"

namespace gw {

bool askForName(WindowId, const std::string&, std::string*) { return false; }

}  // namespace gw
