// The plug-in's own message boxes, drawn from its templates "MessageBox",
// "YesnoBox" and "YesNoCancelBox" (all titled "Message").
//
//   gw::showMessage(dialog, gw::loadString(gw::kStrMemoryError));
//   if (gw::askYesNo(dialog, "Replace the file?") == gw::kAnswerYes) ...
#pragma once

#include <string>

#include "platform/window.h"

namespace gw {

constexpr int kAnswerOk = 1;
constexpr int kAnswerCancel = 2;
constexpr int kAnswerYes = 6;
constexpr int kAnswerNo = 7;

// Returns after the user closed the box (the owner is repainted).
void showMessage(WindowId owner, const std::string& text);
// kAnswerYes or kAnswerNo (0 when the box could not be shown).
int askYesNo(WindowId owner, const std::string& text);
// kAnswerYes, kAnswerNo or kAnswerCancel (0 when the box could not be shown).
int askYesNoCancel(WindowId owner, const std::string& text);

// The host's "SoftButtons" wish for the run: the boxes draw their buttons flat.
void setSoftButtons(bool soft);
bool softButtons();

}  // namespace gw
