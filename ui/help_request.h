// Help pages are shown by the host (callback code 9), which only the main
// dialog talks to; it hands the dialogs below it a way to ask for a topic.
//
//   gw::setHelpHandler([](const std::string& topic) { return askHost(file + "#" + topic); });
//   gw::showHelpTopic(dialog.window(), "FOUNTAIN");
#pragma once

#include <functional>
#include <string>

#include "platform/window.h"

namespace gw {

extern const char kHelpDisplayError[];

// True when the host showed the page. An empty handler stands for "no host".
using HelpHandler = std::function<bool(const std::string& topic)>;
void setHelpHandler(HelpHandler handler);

// Asks for the topic's page; when there is no host or it fails, tells the
// user "There has been an error displaying the Help document.".
void showHelpTopic(WindowId owner, const std::string& topic);

}  // namespace gw
