// The group dialogs' questions answered from a script of the user's replies,
// in the order the questions come: a yes/no question takes the next reply
// ("yes" is Yes, anything else No), a name prompt takes the next reply as the
// name ("cancel" is Cancel). With no reply left a name prompt is cancelled and
// a yes/no question gets `yesWhenUnscripted`. Every message and question shown
// is kept, in order.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "ui/texture_group_editor.h"

struct ScriptedPrompts {
  std::vector<std::string> messages;
  std::deque<std::string> replies;
  bool yesWhenUnscripted = false;

  gw::GroupPrompts prompts() {
    gw::GroupPrompts p;
    p.message = [this](const std::string& text) { messages.push_back(text); };
    p.askYesNo = [this](const std::string& text) {
      messages.push_back(text);
      if (replies.empty()) return yesWhenUnscripted;
      const bool yes = replies.front() == "yes";
      replies.pop_front();
      return yes;
    };
    p.askName = [this](const std::string&, std::string* text) {
      if (replies.empty()) return false;
      const std::string reply = replies.front();
      replies.pop_front();
      if (reply == "cancel") return false;
      *text = reply;
      return true;
    };
    return p;
  }
};
