// Runs one of the library's message-box templates ("MessageBox", "YesnoBox",
// "YesNoCancelBox") modally with a text and returns the id of the button that
// ended it (1 Ok, 2 Cancel, 6 Yes, 7 No), or 0 when it could not be shown.
//
// Natively there is no screen: a responder decides the answer. The default
// responder writes "<text>" to stderr and answers with the template's default
// button, so a command-line run never blocks on a question.
#pragma once

#include <functional>
#include <string>

#include "platform/window.h"

namespace gw {

int runMessageDialog(WindowId owner, const std::string& templateName, const std::string& text,
                     bool softButtons);

using MessageResponder = std::function<int(const std::string& templateName, const std::string& text)>;
// Natively replaces the responder (an empty one restores the default); on
// Windows the real dialog runs and this does nothing.
void setMessageResponder(MessageResponder responder);

}  // namespace gw
