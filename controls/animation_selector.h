// The animation selector (`ANMCTL`): the control through which the user picks
// the animation an effect uses as material. It keeps the animation block the
// host handed over (or the placeholder), the path of its file in the owner's
// buffer, and hands single frames to the effect.
//
// This is the portable half; the Win32 view (animation_selector_win32.cpp)
// and the in-memory dialog both forward their messages to
// animationSelectorMessage, so the effect talks to it the same way on both:
//
//   dialog.sendMessage(524, gw::kMsgAnimationSelector, 0, 0);                  // create
//   dialog.sendMessage(524, gw::kMsgAnimationSelector, 1, intptr_t(pathBuffer));  // bind, load
//   int32_t count = 0;
//   dialog.sendMessage(524, gw::kMsgAnimationFrame, uintptr_t(-1), intptr_t(&count));
//   int32_t delay = 0;
//   gw::MemBlock frame(gw::MemHandle(dialog.sendMessage(524, gw::kMsgAnimationFrame, 3, intptr_t(&delay))));
//
// The state is a small movable block of two 32-bit words: the animation
// block's handle and the path buffer (as a wire pointer).
#pragma once

#include <cstdint>
#include <string>

#include "controls/control_messages.h"
#include "platform/memory.h"
#include "platform/window.h"

namespace gw {

constexpr uint32_t kMsgAnimationSelector = 1224;  // wParam 0: create; 1: bind lParam's path buffer
constexpr uint32_t kMsgAnimationFrame = 1225;     // wParam index or -1, lParam int32_t* result
constexpr uint32_t kSelectButtonId = 1;           // the "Select..." button inside the control

extern const char kAnimationOpenFailedMessage[];  // "The animation you have selected could not be opened."

// What the selector needs from the run: the host (request 16 and its
// time-unit flag), the button-highlight colour the placeholder is blended
// over, and a way to tell the user. The main dialog sets them as it starts.
struct AnimationSelectorServices {
  const uint8_t* hostParams = nullptr;
  uint32_t highlightColour = 0xFFFFFF;
  void (*showMessage)(WindowId owner, const std::string& text) = nullptr;
};
void setAnimationSelectorServices(const AnimationSelectorServices& services);
const AnimationSelectorServices& animationSelectorServices();

// Sends host request 16 with `*path` (empty: the user chooses). Returns the
// block the host handed over (owned by the caller) with the chosen file's
// path in *path, or 0 when the host gave nothing.
MemHandle requestAnimation(const uint8_t* hostParams, WindowId owner, std::string* path);

// The model, acting on the state block.
MemHandle animationSelectorCreate();
void animationSelectorDestroy(MemHandle state);  // frees the animation and the state
// Binds the owner's 260-byte path buffer; loads the file it names, else the
// placeholder.
bool animationSelectorBind(MemHandle state, char* pathBuffer, WindowId owner);
// The current animation block (still owned by the control), or 0.
MemHandle animationSelectorAnimation(MemHandle state);
std::string animationSelectorPath(MemHandle state);
int32_t animationSelectorFrameCount(MemHandle state);
// A new 24-bit bitmap of frame `index` (clamped) and its delay; 0 on failure.
MemHandle animationSelectorFrame(MemHandle state, int32_t index, int32_t* delay);
// "Select...": asks the host for a file; true when a new animation was
// adopted (the view repaints and notifies its parent).
bool animationSelectorSelect(MemHandle state, WindowId owner);
// Stores `path`; when it names an existing file, asks the host to load it.
// True when a new animation was adopted.
bool animationSelectorLoadPath(MemHandle state, const std::string& path, WindowId owner);
// The document line "ANMCTL<id>=<path>", and applying one (false when the
// tag is not "ANMCTL" or there is no "=").
std::string animationSelectorDocumentLine(MemHandle state, uint32_t id);
bool animationSelectorApplyLine(MemHandle state, const std::string& line, WindowId owner);

// One dispatcher for both views; `id` is the control's own identifier (its
// document line names it). `*state` is the control's state block
// (created by 1224 with wParam 0, freed and zeroed on WM_DESTROY). Returns
// true when the message is the selector's, with its result in *result;
// `*selected` is set when "Select..." adopted a new animation.
bool animationSelectorMessage(MemHandle* state, WindowId self, uint32_t id, uint32_t message, uintptr_t wParam,
                              intptr_t lParam, intptr_t* result, bool* selected);

}  // namespace gw
