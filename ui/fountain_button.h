// The fountain button (`FOUNTB`): the control in which a multi-colour ramp is
// edited. It shows the ramp with its markers above it and the start and end
// colour boxes at its ends; the user adds, drags, recolours and deletes
// markers, and reaches the fountain library from its menu.
//
// This is the portable half. The Win32 view (fountain_button_win32.cpp) and
// the in-memory dialog (fountain_button_native.cpp) forward every message to
// fountainButtonMessage; the view adds painting, mouse capture and the
// inverted drag outline. After a message that changed the ramp the caller
// renders nothing itself: the preview is already new, and it repaints and
// sends WM_COMMAND with the control id to the parent.
//
//   dialog.sendMessage(120, gw::kMsgControlInit, 0, intptr_t(fountain581));   // copy of a record
//   dialog.sendMessage(120, gw::kMsgFountainAddMarker, 128, 0);              // asks for a colour
//   gw::MemHandle record = gw::fountainButtonRecord(dialog, 120);
//
// The window's state is the handle of its 581-byte fountain record; the
// record's run-time tail holds the editor state (selected marker, drag).
#pragma once

#include <cstdint>
#include <string>

#include "controls/control_messages.h"
#include "platform/dialog_facade.h"
#include "platform/memory.h"
#include "platform/window.h"

namespace gw {

// kMsgControlInit (1324): wParam 4096 from the button's file, lParam a record to
// copy. kMsgSampleRepaint (1327) goes to the parent after a document line was read.
constexpr uint32_t kMsgFountainColour = 1434;      // wParam index: -1 start, -2 end, else marker
constexpr uint32_t kMsgFountainAddMarker = 1435;   // wParam position 0..255
constexpr uint32_t kMsgFountainDelete = 1436;      // wParam marker index
constexpr uint32_t kMsgFountainPosition = 1437;    // wParam marker index
constexpr uint32_t kMsgFountainMarkerMenu = 1438;  // wParam marker index, lParam client point
constexpr uint32_t kMsgFountainRampMenu = 1439;    // lParam client point
constexpr uintptr_t kFountainFromFile = 4096;
constexpr int kFountainButtonWidth = 197;
constexpr int kFountainButtonHeight = 50;
extern const char kFountainLoopedText[];  // "FountainButtonLooped" in the window text

// Mouse messages as the window system numbers them; lParam packs the client
// point (x low, y high, each signed 16-bit).
constexpr uint32_t kMsgMouseMove = 0x0200;
constexpr uint32_t kMsgLeftDown = 0x0201;
constexpr uint32_t kMsgLeftUp = 0x0202;
constexpr uint32_t kMsgLeftDoubleClick = 0x0203;
constexpr uint32_t kMsgRightDown = 0x0204;
inline intptr_t packPoint(int x, int y) { return intptr_t(uint32_t(uint16_t(int16_t(x))) | (uint32_t(uint16_t(int16_t(y))) << 16)); }
inline int pointX(intptr_t p) { return int16_t(uint32_t(p) & 0xFFFF); }
inline int pointY(intptr_t p) { return int16_t(uint32_t(p) >> 16); }

// The run-time tail of the record.
struct FountainEditorState {
  int32_t selected = -1;
  int32_t outlineDrawn = 0;
  int32_t dragging = 0;
  int32_t startX = 0, startY = 0;
  int32_t lastX = 0, lastY = 0;
};
FountainEditorState fountainEditorState(const uint8_t* fountain581);
void setFountainEditorState(uint8_t* fountain581, const FountainEditorState& state);

struct PixelBox {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

// Where things are inside a client rectangle of width x height.
struct FountainButtonGeometry {
  PixelBox strip;  // the marker strip
  PixelBox ramp;   // the ramp preview
  int markerX(int column) const { return ramp.left + column; }
  PixelBox markerHit(int x) const { return {x - 5, strip.top + 1, x + 5, strip.top + 7}; }
  PixelBox startBox() const { return markerHit(ramp.left); }
  PixelBox endBox() const { return markerHit(ramp.right); }
};
FountainButtonGeometry fountainButtonGeometry(int width, int height);

// The 0..255 position under client column x: trunc((x - ramp left) / ramp width x 255).
int fountainPositionAt(const FountainButtonGeometry& g, int x);

enum class FountainHitKind { kNone, kMarker, kStartBox, kEndBox, kStrip, kRamp };
struct FountainHit {
  FountainHitKind kind = FountainHitKind::kNone;
  int slot = -1;
};
// Markers win over the boxes; a looped ramp has no end box.
FountainHit fountainHitTest(const uint8_t* fountain581, const FountainButtonGeometry& g, int x, int y);

// What a fountain button knows of its window.
struct FountainButtonWindow {
  WindowId self = 0;              // for the dialogs it opens
  uint32_t id = 0;                // control id: names its file and document line
  int width = kFountainButtonWidth;
  int height = kFountainButtonHeight;
  std::string text;               // window text ("FountainButtonLooped")
  const uint8_t* hostParams = nullptr;  // for the colour picker
};

// What a handled message did, for the view to follow up.
struct FountainButtonEvents {
  bool changed = false;       // the ramp changed: repaint, WM_COMMAND to the parent
  bool resized = false;       // 1324: the window is now 197 x 50
  bool postRepaint = false;   // post 1327 to the parent (a document line was read)
  bool dragStarted = false;   // capture the mouse
  bool dragEnded = false;     // release it (and erase the outline)
};

// One dispatcher for both views. `*record` is the control's record handle
// (made by 1324, freed and zeroed by WM_DESTROY). 1334 takes wParam 0 with
// lParam an open FILE*, or wParam 1 with lParam a std::string* for the line
// without line end; 1335 takes the line as const char*. Returns true when the
// message is the button's, with its answer in *result.
bool fountainButtonMessage(MemHandle* record, FountainButtonWindow& window, uint32_t message, uintptr_t wParam,
                           intptr_t lParam, intptr_t* result, FountainButtonEvents* events);

// Renders the record's preview again at the ramp's size (replacing the old
// one); on failure the preview is 0 and the ramp is painted button-face.
void fountainButtonRenderPreview(uint8_t* fountain581, const FountainButtonGeometry& g);

// The fountain record a dialog's fountain button holds, or 0.
MemHandle fountainButtonRecord(DialogFacade& dialog, uint32_t id);
constexpr uint32_t kMsgFountainRecordQuery = 1433;  // answers the record handle

// Gives control `id` of `dialog` the button's procedure (natively the
// in-memory control; on Windows the window must be of the "FOUNTB" class,
// registered by registerFountainButtonClass). `onChange` runs after every
// change (natively; on Windows the parent gets WM_COMMAND).
bool attachFountainButton(DialogFacade& dialog, uint32_t id, const uint8_t* hostParams,
                          void (*onChange)(void* context), void* context);

// Windows: registers the "FOUNTB" window class once; natively nothing.
bool registerFountainButtonClass();

// Messages the button shows.
extern const char kNoMarkerSpaceMessage[];
extern const char kMarkerCannotBeDeletedMessage[];
extern const char kInternalErrorMessage[];
extern const char kLibraryAddErrorMessage[];

}  // namespace gw
