#include "ui/fountain_button.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/le_bytes.h"
#include "controls/animation_selector.h"  // the document messages all controls share
#include "controls/colour_request.h"
#include "materials/fountain_markers.h"
#include "materials/fountain_record.h"
#include "materials/fountain_render.h"
#include "materials/record_hex_line.h"
#include "platform/system_state.h"
#include "ui/fountain_library_access.h"
#include "ui/fountain_prompts.h"
#include "ui/message_box.h"

namespace gw {

const char kFountainLoopedText[] = "FountainButtonLooped";
const char kNoMarkerSpaceMessage[] = "No more marker space is available. Delete an existing marker.";
const char kMarkerCannotBeDeletedMessage[] = "That marker cannot be deleted";
const char kInternalErrorMessage[] = "Internal error";
const char kLibraryAddErrorMessage[] = "There has been an error adding this library entry.";

namespace {

constexpr char kTag[] = "FOUNTB";
constexpr uint32_t kDestroy = 0x0002;  // WM_DESTROY
constexpr uint32_t kNewMarkerColour = 0x808080;

namespace state {
constexpr size_t kSelected = fountain::kEditorState;
constexpr size_t kOutlineDrawn = kSelected + 4;
constexpr size_t kDragging = kSelected + 8;
constexpr size_t kStartX = kSelected + 12;
constexpr size_t kStartY = kSelected + 16;
constexpr size_t kLastX = kSelected + 20;
constexpr size_t kLastY = kSelected + 24;
}  // namespace state

uint32_t flagsOf(const uint8_t* f) { return readU32(f + fountain::kFlags); }
bool looped(const uint8_t* f) { return (flagsOf(f) & fountain::kFlagLooped) != 0; }

// Run-time fields are this run's own: a handle or a drag from elsewhere means nothing here.
void clearRuntime(uint8_t* f) {
  writeU32(f + fountain::kPreviewImage, 0);
  std::memset(f + fountain::kEditorState, 0, kFountainRecordSize - fountain::kEditorState);
  writeI32(f + state::kSelected, -1);
}

void freePreview(uint8_t* f) {
  memFree(readU32(f + fountain::kPreviewImage));
  writeU32(f + fountain::kPreviewImage, 0);
}

struct Call {
  MemHandle* record;
  FountainButtonWindow& window;
  FountainButtonEvents* events;
  FountainButtonGeometry geometry() const { return fountainButtonGeometry(window.width, window.height); }
};

// Renders, and tells the view to repaint and notify.
void changed(const Call& call, uint8_t* f) {
  fountainButtonRenderPreview(f, call.geometry());
  call.events->changed = true;
}

intptr_t initialise(const Call& call, uintptr_t wParam, intptr_t lParam) {
  call.window.width = kFountainButtonWidth;
  call.window.height = kFountainButtonHeight;
  call.events->resized = true;
  const bool fromFile = wParam == kFountainFromFile;
  MemBlock fresh(fromFile ? readFountainButtonFile(call.window.id, !shiftKeyDown()) : 0);
  const bool fromRecord = fresh && memSize(fresh.get()) >= kFountainRecordSize;
  if (!fromRecord) fresh.reset(memAlloc(kFountainRecordSize));
  MemLock lock(fresh.get());
  if (!lock) return 0;
  uint8_t* f = lock.data();
  if (!fromRecord) {
    if (lParam) std::memcpy(f, reinterpret_cast<const uint8_t*>(lParam), kFountainRecordSize);
    else fountainRecordDefaults(f, FountainPreset::Rainbow);
  }
  clearRuntime(f);
  uint32_t flags = flagsOf(f);
  if (call.window.text.find(kFountainLoopedText) != std::string::npos) flags |= fountain::kFlagLooped;
  if (fromFile) flags |= fountain::kFlagWriteBack;
  writeU32(f + fountain::kFlags, flags);
  fountainButtonRenderPreview(f, call.geometry());
  // A second initialisation replaces the first record.
  if (*call.record) {
    if (MemLock old{*call.record}) freePreview(old.data());
    memFree(*call.record);
  }
  *call.record = fresh.release();
  return 1;
}

std::string documentLine(const uint8_t* f, uint32_t id) {
  uint8_t copy[kFountainRecordSize];
  std::memcpy(copy, f, kFountainRecordSize);
  // Handles and drag state are this run's own; a document without them is
  // the same file on every run.
  writeU32(copy + fountain::kPreviewImage, 0);
  std::memset(copy + fountain::kEditorState, 0, kFountainRecordSize - fountain::kEditorState);
  return recordHexLine(kTag, int32_t(id), copy, kFountainRecordSize);
}

intptr_t writeDocument(const Call& call, uint8_t* f, uintptr_t wParam, intptr_t lParam) {
  if (!lParam) return 0;
  const std::string line = documentLine(f, call.window.id);
  if (wParam == 1) {
    *reinterpret_cast<std::string*>(lParam) = line;
    return 1;
  }
  auto* out = reinterpret_cast<std::FILE*>(lParam);
  return std::fprintf(out, "%s\n", line.c_str()) > 0 ? 1 : 0;
}

intptr_t readDocument(const Call& call, uint8_t* f, intptr_t lParam) {
  if (!lParam) return 0;
  uint8_t decoded[kFountainRecordSize];
  if (!recordHexDecode(reinterpret_cast<const char*>(lParam), kTag, decoded, kFountainRecordSize)) return 0;
  freePreview(f);
  std::memcpy(f, decoded, kFountainRecordSize);
  clearRuntime(f);
  changed(call, f);
  call.events->postRepaint = true;
  return 1;
}

intptr_t changeColour(const Call& call, uint8_t* f, int index) {
  uint32_t colour = 0;
  if (index == -1) {
    colour = readU32(f + fountain::kStartColour);
  } else if (index == -2) {
    if (looped(f)) return 0;
    colour = readU32(f + fountain::kEndColour);
  } else if (index >= 0 && index < fountainMarkerCount(f)) {
    colour = fountainMarkerColour(fountainMarker(f, index));
  } else {
    showMessage(call.window.self, kInternalErrorMessage);
    return 0;
  }
  colour &= 0xFFFFFF;
  if (!requestColour(call.window.hostParams, call.window.self, &colour)) return 0;
  if (index == -1) writeU32(f + fountain::kStartColour, colour);
  else if (index == -2) writeU32(f + fountain::kEndColour, colour);
  else fountainSetMarkerColour(f, index, colour);
  changed(call, f);
  return 1;
}

intptr_t addMarker(const Call& call, uint8_t* f, int wanted) {
  const int position = fountainFreePosition(f, wanted);
  if (!position) {
    showMessage(call.window.self, kNoMarkerSpaceMessage);
    return 0;
  }
  uint32_t colour = kNewMarkerColour;
  if (!requestColour(call.window.hostParams, call.window.self, &colour)) return 0;
  fountainAddMarker(f, position, colour);
  writeI32(f + state::kSelected, fountainFindMarker(f, fountainMakeMarker(position, colour)));
  changed(call, f);
  return 1;
}

intptr_t deleteMarker(const Call& call, uint8_t* f, int index) {
  const int count = fountainMarkerCount(f);
  if (count == 0) {
    showMessage(call.window.self, kMarkerCannotBeDeletedMessage);
    return 0;
  }
  if (index < 0 || index >= count) {
    showMessage(call.window.self, kInternalErrorMessage);
    return 0;
  }
  fountainDeleteMarker(f, index);
  writeI32(f + state::kSelected, -1);
  changed(call, f);
  return 1;
}

intptr_t adjustPosition(const Call& call, uint8_t* f, int index) {
  if (index < 0 || index >= fountainMarkerCount(f)) {
    showMessage(call.window.self, kInternalErrorMessage);
    return 0;
  }
  const uint32_t marker = fountainMarker(f, index);
  const int position = askMarkerPosition(call.window.self, fountainMarkerPosition(marker));
  if (!position) return 0;
  fountainSetMarkerPosition(f, index, position);
  const uint32_t moved = fountainMakeMarker(position, fountainMarkerColour(marker));
  writeI32(f + state::kSelected, fountainFindMarker(f, moved));
  changed(call, f);
  return 1;
}

intptr_t markerMenu(const Call& call, uint8_t* f, int index, int x, int y) {
  const int item = chooseMenuItem(call.window.self, {"Delete marker", "Change color", "Adjust position"}, x, y);
  if (item == 0) return deleteMarker(call, f, index);
  if (item == 1) return changeColour(call, f, index);
  if (item == 2) return adjustPosition(call, f, index);
  return 0;
}

intptr_t rampMenu(const Call& call, uint8_t* f, intptr_t point) {
  const int item = chooseMenuItem(call.window.self, {"Add to library", "Manage library"}, pointX(point), pointY(point));
  if (item == 0) {
    const LibraryOutcome outcome = addFountainToLibrary(f);
    if (outcome == LibraryOutcome::kFailed) showMessage(call.window.self, kLibraryAddErrorMessage);
    return outcome == LibraryOutcome::kDone ? 1 : 0;
  }
  if (item == 1) {
    const LibraryOutcome outcome = manageFountainLibrary(call.window.self, f);
    if (outcome != LibraryOutcome::kDone) return 0;
    writeI32(f + state::kSelected, -1);
    changed(call, f);
    return 1;
  }
  return 0;
}

// Left press on a marker: select it and start a drag.
void leftDown(const Call& call, uint8_t* f, int x, int y) {
  const FountainHit hit = fountainHitTest(f, call.geometry(), x, y);
  if (hit.kind != FountainHitKind::kMarker) return;
  FountainEditorState s = fountainEditorState(f);
  s.selected = hit.slot;
  s.dragging = 1;
  s.outlineDrawn = 0;
  s.startX = s.lastX = x;
  s.startY = s.lastY = y;
  setFountainEditorState(f, s);
  call.events->dragStarted = true;
}

void leftUp(const Call& call, uint8_t* f, int x) {
  FountainEditorState s = fountainEditorState(f);
  if (!s.dragging) return;
  s.dragging = 0;
  s.outlineDrawn = 0;
  s.lastX = x;
  setFountainEditorState(f, s);
  call.events->dragEnded = true;
  const int movement = x - s.startX;
  if (movement == 0 || s.selected < 0 || s.selected >= fountainMarkerCount(f)) return;
  int position = fountainPositionAt(call.geometry(), s.startX + movement);
  position = position < 1 ? 1 : (position > 255 ? 255 : position);
  const uint32_t colour = fountainMarkerColour(fountainMarker(f, s.selected));
  const int placed = fountainMoveMarker(f, s.selected, position);
  writeI32(f + state::kSelected, placed ? fountainFindMarker(f, fountainMakeMarker(placed, colour)) : -1);
  changed(call, f);
}

}  // namespace

FountainEditorState fountainEditorState(const uint8_t* f) {
  FountainEditorState s;
  s.selected = readI32(f + state::kSelected);
  s.outlineDrawn = readI32(f + state::kOutlineDrawn);
  s.dragging = readI32(f + state::kDragging);
  s.startX = readI32(f + state::kStartX);
  s.startY = readI32(f + state::kStartY);
  s.lastX = readI32(f + state::kLastX);
  s.lastY = readI32(f + state::kLastY);
  return s;
}

void setFountainEditorState(uint8_t* f, const FountainEditorState& s) {
  writeI32(f + state::kSelected, s.selected);
  writeI32(f + state::kOutlineDrawn, s.outlineDrawn);
  writeI32(f + state::kDragging, s.dragging);
  writeI32(f + state::kStartX, s.startX);
  writeI32(f + state::kStartY, s.startY);
  writeI32(f + state::kLastX, s.lastX);
  writeI32(f + state::kLastY, s.lastY);
}

FountainButtonGeometry fountainButtonGeometry(int width, int height) {
  FountainButtonGeometry g;
  g.strip = {8, 3, width - 8, 11};
  g.ramp = {8, 16, width - 8, height - 4};
  return g;
}

int fountainPositionAt(const FountainButtonGeometry& g, int x) {
  const int width = g.ramp.width();
  if (width <= 0) return 0;
  return int(float(x - g.ramp.left) / float(width) * 255.0f);
}

FountainHit fountainHitTest(const uint8_t* f, const FountainButtonGeometry& g, int x, int y) {
  int32_t columns[kFountainMaxMarkers];
  const int n = fountainMarkerColumns(f, g.ramp.width(), columns);
  FountainHit hit;
  int best = 1 << 30;
  for (int i = 0; i < n; ++i) {
    const int mx = g.markerX(columns[i]);
    const int distance = mx > x ? mx - x : x - mx;
    if (g.markerHit(mx).contains(x, y) && distance < best) {
      best = distance;
      hit = {FountainHitKind::kMarker, i};
    }
  }
  if (hit.kind == FountainHitKind::kMarker) return hit;
  if (g.startBox().contains(x, y)) return {FountainHitKind::kStartBox, -1};
  if (g.endBox().contains(x, y)) {
    // Where a looped ramp would have its end box there is nothing to click.
    return looped(f) ? FountainHit{} : FountainHit{FountainHitKind::kEndBox, -1};
  }
  if (g.ramp.contains(x, y)) return {FountainHitKind::kRamp, -1};
  if (g.strip.contains(x, y)) return {FountainHitKind::kStrip, -1};
  return {};
}

void fountainButtonRenderPreview(uint8_t* f, const FountainButtonGeometry& g) {
  freePreview(f);
  if (g.ramp.width() <= 0 || g.ramp.height() <= 0) return;
  writeU32(f + fountain::kPreviewImage, fountainRender(f, g.ramp.width(), g.ramp.height()));
}

bool fountainButtonMessage(MemHandle* record, FountainButtonWindow& window, uint32_t message, uintptr_t wParam,
                           intptr_t lParam, intptr_t* result, FountainButtonEvents* events) {
  FountainButtonEvents ignored;
  if (!events) events = &ignored;
  intptr_t dummy = 0;
  if (!result) result = &dummy;
  *result = 0;
  const Call call{record, window, events};
  if (message == kMsgControlInit) {
    *result = initialise(call, wParam, lParam);
    return true;
  }
  if (message == kMsgFountainRecordQuery) {
    *result = intptr_t(*record);
    return true;
  }
  const bool mine = message == kDestroy || message == kMsgWriteDocument || message == kMsgReadDocument ||
                    (message >= kMsgFountainColour && message <= kMsgFountainRampMenu) ||
                    (message >= kMsgMouseMove && message <= kMsgRightDown);
  if (!mine) return false;
  if (message == kDestroy) {
    if (MemLock lock{*record}) {
      freePreview(lock.data());
      if (flagsOf(lock.data()) & fountain::kFlagWriteBack) writeFountainButtonFile(window.id, lock.data());
    }
    memFree(*record);
    *record = 0;
    return true;
  }
  MemLock lock(*record);
  if (!lock || lock.size() < kFountainRecordSize) return true;
  uint8_t* f = lock.data();
  const int index = int(int32_t(uint32_t(wParam)));
  const int x = pointX(lParam), y = pointY(lParam);
  switch (message) {
    case kMsgWriteDocument: *result = writeDocument(call, f, wParam, lParam); break;
    case kMsgReadDocument: *result = readDocument(call, f, lParam); break;
    case kMsgFountainColour: *result = changeColour(call, f, index); break;
    case kMsgFountainAddMarker: *result = addMarker(call, f, index); break;
    case kMsgFountainDelete: *result = deleteMarker(call, f, index); break;
    case kMsgFountainPosition: *result = adjustPosition(call, f, index); break;
    case kMsgFountainMarkerMenu: *result = markerMenu(call, f, index, x, y); break;
    case kMsgFountainRampMenu: *result = rampMenu(call, f, lParam); break;
    case kMsgLeftDown: leftDown(call, f, x, y); break;
    case kMsgMouseMove: {
      FountainEditorState s = fountainEditorState(f);
      if (s.dragging) {
        s.lastX = x;
        s.lastY = y;
        setFountainEditorState(f, s);
      }
      break;
    }
    case kMsgLeftUp: leftUp(call, f, x); break;
    case kMsgLeftDoubleClick: {
      const FountainHit hit = fountainHitTest(f, call.geometry(), x, y);
      if (hit.kind == FountainHitKind::kMarker) *result = changeColour(call, f, hit.slot);
      if (hit.kind == FountainHitKind::kStartBox) *result = changeColour(call, f, -1);
      if (hit.kind == FountainHitKind::kEndBox) *result = changeColour(call, f, -2);
      if (hit.kind == FountainHitKind::kStrip) *result = addMarker(call, f, fountainPositionAt(call.geometry(), x));
      break;
    }
    case kMsgRightDown: {
      const FountainHit hit = fountainHitTest(f, call.geometry(), x, y);
      if (hit.kind == FountainHitKind::kRamp) *result = rampMenu(call, f, lParam);
      if (hit.kind == FountainHitKind::kStartBox) *result = changeColour(call, f, -1);
      if (hit.kind == FountainHitKind::kEndBox) *result = changeColour(call, f, -2);
      if (hit.kind == FountainHitKind::kMarker) {
        *result = shiftKeyDown() ? deleteMarker(call, f, hit.slot) : markerMenu(call, f, hit.slot, x, y);
      }
      break;
    }
    default: break;
  }
  return true;
}

MemHandle fountainButtonRecord(DialogFacade& dialog, uint32_t id) {
  return MemHandle(dialog.sendMessage(id, kMsgFountainRecordQuery, 0, 0));
}

}  // namespace gw
