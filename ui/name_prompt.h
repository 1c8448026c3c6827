// Asks for a one-line name (at most 260 characters) in the "Name" box.
//
//   std::string name = "Untitled";
//   if (gw::askForName(owner, "Save group as", &name)) save(name);
#pragma once

#include <string>

#include "platform/window.h"
#include "ui/texture_group_editor.h"

namespace gw {

// False on Cancel (and in the command-line host); *text is the starting name.
bool askForName(WindowId owner, const std::string& title, std::string* text);

// The group dialogs' questions put through the plug-in's message boxes and
// the name box, owned by `owner`.
GroupPrompts messageBoxPrompts(WindowId owner);

}  // namespace gw
