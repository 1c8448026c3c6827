// The material button (`MATLBT`): the control that holds one material record,
// shows its preview with the caption over it, and lets the user switch the
// kind (the drop-down arrow's menu) or edit it (the face). Its record lives
// from initialisation to destruction, and is kept between runs in the
// button's material file.
//
// This is the portable half. The Win32 view (material_button_win32.cpp) and
// the in-memory dialog (material_button_native.cpp) forward every message to
// materialButtonMessage and act on what it reports (repaint, notify the
// parent, open the menu, post a message to the button itself):
//
//   gw::startMaterialButton(dialog, 100, 0xBD7E40);           // attach + 1424
//   dialog.sendMessage(100, gw::kMsgCommand, 100 + gw::kMaterialGradient, 0);
//   std::string line;
//   dialog.sendMessage(100, gw::kMsgWriteDocument, 1, intptr_t(&line));
//   dialog.sendMessage(100, gw::kMsgDestroy, 0, 0);           // writes the file
//
// The control's bound variable (its window user data) is the handle of the
// record block, as every reader of a material button expects.
#pragma once

#include <cstdint>
#include <string>

#include "controls/control_messages.h"
#include "platform/dialog_facade.h"
#include "platform/memory.h"
#include "platform/window.h"

namespace gw {

// WM_COMMAND ids the button takes: 99 edits the current kind, 100 + kind
// switches to a kind (the kind menu's items).
constexpr uint32_t kMaterialEditCommand = 99;
constexpr uint32_t kMaterialKindCommand = 100;
// The drop-down arrow: the rightmost pixels of the face.
constexpr int32_t kMaterialArrowWidth = 16;

extern const char kEditorNotAvailableMessage[];  // "%s is not available in this build."

// What the button needs from the run, set by the dialog that starts it. An
// editor left null makes the button say plainly that it is not available.
struct MaterialButtonServices {
  const uint8_t* hostParams = nullptr;
  // Read the button's file at initialisation (unless Shift is down) and
  // write it at destruction. Off for the command line and tests, which must
  // not touch the user's files.
  bool keepFiles = false;
  bool (*pickColour)(const uint8_t* hostParams, WindowId owner, uint32_t* colour) = nullptr;
  bool (*editGradient)(WindowId owner, const uint8_t* hostParams, uint8_t* settings621) = nullptr;
  bool (*editTexture)(WindowId owner, const uint8_t* hostParams, uint8_t* material1270) = nullptr;
  bool (*editTile)(WindowId owner, const uint8_t* hostParams, uint8_t* material1270) = nullptr;
  void (*showMessage)(WindowId owner, const std::string& text) = nullptr;
  // Without windows: chooses an item of the kind menu (100..103), 0 for none.
  uint32_t (*chooseKindItem)(uint32_t buttonId, int32_t currentKind) = nullptr;
  // Without windows: the parent's notification 1327 (the DLL posts it).
  void (*notified)(uint32_t buttonId, int32_t kind) = nullptr;
};
void setMaterialButtonServices(const MaterialButtonServices& services);
MaterialButtonServices& materialButtonServices();

// Where a message leaves the button, for its view to carry out.
struct MaterialButtonEffects {
  bool repaint = false;
  bool notifyParent = false;   // post 1327 (wParam kind) to the parent
  bool showKindMenu = false;   // pop up the kind menu
  uint32_t postToSelf = 0;     // a message to post to the button (0: none)
  uintptr_t postWParam = 0;
};

// The button as its views know it.
struct MaterialButtonFrame {
  uint32_t id = 0;           // control id: names its file and document line
  WindowId owner = 0;        // the dialog: owner of editors and messages
  int32_t previewWidth = 0;  // the preview zone (client less the arrow)
  int32_t previewHeight = 0;
};

// The button's records: the one it is bound to (its user data, which every
// reader of the button takes) and the one it made itself. They differ only
// where a caller bound a record of its own (the command line); the button
// then works on that one but frees only its own.
struct MaterialButtonRecords {
  MemHandle bound = 0;
  MemHandle owned = 0;
};

// Handles one message for the button (records 0 before initialisation;
// replaced by 1424, zeroed by WM_DESTROY). True when the message is the
// button's, its answer in *result.
bool materialButtonMessage(MaterialButtonRecords* records, const MaterialButtonFrame& frame, uint32_t message,
                           uintptr_t wParam, intptr_t lParam, intptr_t* result, MaterialButtonEffects* effects);

// Message 1424's work on its own: a new record block for button `id`
// (read from its file when `readFile`, else the defaults in `defaultColour`),
// tiles from the primary group when the record names none, preview rendered
// at width x height. 0 when memory fails.
MemHandle materialButtonCreate(uint32_t id, uint32_t defaultColour, bool readFile, int32_t width, int32_t height);

// Frees the record's preview and tile images and then the record.
void materialButtonFree(MemHandle record);

// Replaces the record's preview image with a new fill at width x height and
// stores the preview's mean colour. False (old preview kept) when it cannot
// be made.
bool materialButtonRenderPreview(uint8_t* record1270, int32_t width, int32_t height);

// The kind of the record in a button's block (0 when there is none).
int32_t materialButtonKind(MemHandle record);

// Which zone of a face `width` pixels wide is under x: the arrow or the face.
bool materialButtonArrowAt(int32_t width, int32_t x);

// The full path of the primary tile group, "glwplug5.mtx" in the plug-in's folder.
std::string primaryTileGroupPath();

// The control's view: natively the in-memory control gets a procedure, on
// Windows the button window is subclassed. False when it cannot be.
bool attachMaterialButton(DialogFacade& dialog, uint32_t id);

// Attaches the view and initialises the button (1424) in `defaultColour`.
bool startMaterialButton(DialogFacade& dialog, uint32_t id, uint32_t defaultColour);

}  // namespace gw
