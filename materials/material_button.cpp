#include "materials/material_button.h"

#include <array>
#include <cstdio>
#include <cstring>

#include "base/le_bytes.h"
#include "materials/group_folder.h"
#include "materials/material_document.h"
#include "materials/material_file.h"
#include "materials/material_fill.h"
#include "materials/material_preview.h"
#include "materials/material_record.h"
#include "materials/tile_group.h"
#include "materials/tile_selection.h"
#include "platform/folders.h"
#include "platform/system_state.h"
#include "settings/settings_file.h"

namespace gw {

const char kEditorNotAvailableMessage[] = "%s is not available in this build.";

namespace {

// Face pressed, arrow pressed: the button-state bits of the record.
constexpr uint32_t kFacePressed = 1;
constexpr uint32_t kArrowPressed = 2;

MaterialButtonServices& services() {
  static MaterialButtonServices s;
  return s;
}

void tellNotAvailable(WindowId owner, const char* editor) {
  char text[128];
  std::snprintf(text, sizeof text, kEditorNotAvailableMessage, editor);
  if (services().showMessage) services().showMessage(owner, text);
}

// The editor of the record's kind on a copy of what it edits; the copy goes
// back only when the user accepted, so a cancelled or failed editor changes
// nothing. True when accepted.
bool editKind(uint8_t* rec, WindowId owner) {
  const MaterialButtonServices& s = services();
  switch (readI32(rec + material::kKind)) {
    case kMaterialSimple: {
      if (!s.pickColour) {
        tellNotAvailable(owner, "The colour picker");
        return false;
      }
      uint32_t colour = readU32(rec + material::kColour) & 0xFFFFFF;
      if (!s.pickColour(s.hostParams, owner, &colour)) return false;
      writeU32(rec + material::kColour, colour & 0xFFFFFF);
      return true;
    }
    case kMaterialGradient: {
      if (!s.editGradient) {
        tellNotAvailable(owner, "The gradient editor");
        return false;
      }
      std::array<uint8_t, material::kTexture - material::kGradient> gradient;
      std::memcpy(gradient.data(), rec + material::kGradient, gradient.size());
      if (!s.editGradient(owner, s.hostParams, gradient.data())) return false;
      std::memcpy(rec + material::kGradient, gradient.data(), gradient.size());
      return true;
    }
    case kMaterialTexture:
    case kMaterialTile: {
      const bool texture = readI32(rec + material::kKind) == kMaterialTexture;
      auto editor = texture ? s.editTexture : s.editTile;
      if (!editor) {
        tellNotAvailable(owner, texture ? "The texture dialog" : "The tile dialog");
        return false;
      }
      std::array<uint8_t, kMaterialRecordSize> copy;
      std::memcpy(copy.data(), rec, copy.size());
      if (!editor(owner, s.hostParams, copy.data())) return false;
      // The dialog answers for the tile image it leaves in the copy; the one
      // it replaced is its to free.
      std::memcpy(rec, copy.data(), copy.size());
      return true;
    }
    default:
      return false;  // a kind no editor knows: nothing to edit
  }
}

bool writeFile(uint32_t id, const uint8_t* rec) {
  // The stored record carries no run-time handles, so the file is the same
  // bytes on every run.
  std::array<uint8_t, kMaterialRecordSize> clean;
  std::memcpy(clean.data(), rec, clean.size());
  materialRecordClearRuntime(clean.data());
  materialPreviewAverage(clean.data());
  const std::string path = materialFilePath(int32_t(id));
  if (path.empty()) return false;
  makeFolderFor(path);
  return materialFileWrite(path, clean.data());
}

void destroy(MemHandle* record, uint32_t id) {
  if (!*record) return;
  if (services().keepFiles) {
    MemLock lock(*record);
    if (lock && lock.size() >= kMaterialRecordSize) writeFile(id, lock.data());
  }
  materialButtonFree(*record);
  *record = 0;
}

// The record of a live button, locked; empty when there is none.
struct LiveRecord {
  explicit LiveRecord(MemHandle h) : lock(h) {}
  uint8_t* data() const { return lock && lock.size() >= kMaterialRecordSize ? lock.data() : nullptr; }
  MemLock lock;
};

void changed(uint8_t* rec, const MaterialButtonFrame& frame, MaterialButtonEffects* fx) {
  materialButtonRenderPreview(rec, frame.previewWidth, frame.previewHeight);
  fx->repaint = true;
  fx->notifyParent = true;
}

intptr_t onCommand(MemHandle record, const MaterialButtonFrame& frame, uint32_t command, MaterialButtonEffects* fx) {
  LiveRecord live(record);
  uint8_t* rec = live.data();
  if (!rec) return 0;
  if (command == kMaterialEditCommand) {
    if (!editKind(rec, frame.owner)) return 0;
  } else {
    writeI32(rec + material::kKind, int32_t(command - kMaterialKindCommand));
  }
  changed(rec, frame, fx);
  return 1;
}

intptr_t onMouse(MemHandle record, const MaterialButtonFrame& frame, bool down, intptr_t lParam,
                 MaterialButtonEffects* fx) {
  LiveRecord live(record);
  uint8_t* rec = live.data();
  if (!rec) return 0;
  const uint32_t state = readU32(rec + material::kButtonState);
  const int32_t x = int16_t(uint32_t(lParam) & 0xFFFF);
  const int32_t y = int16_t((uint32_t(lParam) >> 16) & 0xFFFF);
  if (down) {
    const uint32_t bit = materialButtonArrowAt(frame.previewWidth + kMaterialArrowWidth, x) ? kArrowPressed : kFacePressed;
    writeU32(rec + material::kButtonState, (state & ~3u) | bit);
  } else {
    writeU32(rec + material::kButtonState, state & ~3u);
    // A press let go outside the button is taken back, as with any button.
    const bool inside = x >= 0 && y >= 0 && x < frame.previewWidth + kMaterialArrowWidth && y < frame.previewHeight;
    if (inside && (state & kArrowPressed)) fx->postToSelf = kMsgMaterialKindMenu;
    if (inside && (state & kFacePressed)) {
      fx->postToSelf = kMsgCommand;
      fx->postWParam = kMaterialEditCommand;
    }
  }
  fx->repaint = true;
  return 0;
}

}  // namespace

void setMaterialButtonServices(const MaterialButtonServices& s) { services() = s; }
MaterialButtonServices& materialButtonServices() { return services(); }

std::string primaryTileGroupPath() {
  // The plug-in's own run puts the shipped group in place the first time it
  // is wanted; a run that keeps no files (the command line, tests) only
  // names where it is.
  if (services().keepFiles) {
    std::string installed = installPrimaryGroup(kPrimaryTileGroup);
    if (!installed.empty()) return installed;
  }
  return pluginFolderFile(kPrimaryTileGroup);
}

int32_t materialButtonKind(MemHandle record) {
  LiveRecord live(record);
  return live.data() ? readI32(live.data() + material::kKind) : 0;
}

bool materialButtonArrowAt(int32_t width, int32_t x) { return x >= width - kMaterialArrowWidth; }

bool materialButtonRenderPreview(uint8_t* rec, int32_t width, int32_t height) {
  MemHandle preview = materialFill(rec, width, height);
  if (!preview) return false;
  memFree(readU32(rec + material::kPreviewImage));
  writeU32(rec + material::kPreviewImage, preview);
  writeU32(rec + material::kPreviewAverage, bitmapAverageColour(preview));
  return true;
}

MemHandle materialButtonCreate(uint32_t id, uint32_t defaultColour, bool readFile, int32_t width, int32_t height) {
  const std::string path = readFile ? materialFilePath(int32_t(id)) : std::string();
  MemBlock block(materialFileRead(path, defaultColour & 0xFFFFFF, readFile && !path.empty()));
  LiveRecord live(block.get());
  uint8_t* rec = live.data();
  if (!rec) return 0;
  // A record that names no group takes its tiles from the primary one. A
  // tile the user took from another group stays where it came from.
  uint8_t* selection = rec + material::kTileSelection;
  if (tileSelectionPath(selection).empty()) {
    tileSelectionSetPath(selection, primaryTileGroupPath());
    tileSelectionLoad(selection);  // no such tile: the built-in one serves
  }
  if (!materialButtonRenderPreview(rec, width, height)) {
    // Without a preview the mean still tells the background what it is.
    writeU32(rec + material::kPreviewAverage, readI32(rec + material::kKind) == kMaterialSimple
                                                  ? readU32(rec + material::kColour) & 0xFFFFFF
                                                  : 0);
  }
  return block.release();
}

void materialButtonFree(MemHandle record) {
  if (!record) return;
  {
    LiveRecord live(record);
    if (uint8_t* rec = live.data()) {
      tileSelectionFreeImage(rec + material::kTileSelection);
      memFree(readU32(rec + material::kPreviewImage));
      writeU32(rec + material::kPreviewImage, 0);
    }
  }
  memFree(record);
}

bool materialButtonMessage(MaterialButtonRecords* records, const MaterialButtonFrame& frame, uint32_t message,
                           uintptr_t wParam, intptr_t lParam, intptr_t* result, MaterialButtonEffects* fx) {
  *result = 0;
  MemHandle* record = &records->bound;
  switch (message) {
    case kMsgMaterialInit: {
      const bool readFile = services().keepFiles && !shiftKeyDown();
      MemHandle fresh = materialButtonCreate(frame.id, uint32_t(lParam), readFile, frame.previewWidth,
                                             frame.previewHeight);
      if (!fresh) return true;  // memory: the old record (if any) stays
      materialButtonFree(records->owned);
      records->owned = records->bound = fresh;
      *result = 1;
      fx->repaint = true;
      return true;
    }
    case kMsgMaterialDuplicate: {
      LiveRecord live(*record);
      if (uint8_t* rec = live.data()) *result = intptr_t(materialRecordDuplicate(rec));
      return true;
    }
    case kMsgMaterialKindMenu:
      fx->showKindMenu = *record != 0;
      return true;
    case kMsgCommand: {
      const uint32_t command = uint32_t(wParam) & 0xFFFF;
      if (command < kMaterialEditCommand || command > kMaterialKindCommand + kMaterialTile) return false;
      *result = onCommand(*record, frame, command, fx);
      return true;
    }
    case kMsgWriteDocument: {
      LiveRecord live(*record);
      uint8_t* rec = live.data();
      if (!rec) return true;
      std::array<uint8_t, kMaterialRecordSize> clean;
      std::memcpy(clean.data(), rec, clean.size());
      // Handles are this run's own: a document that holds none is the same
      // file on every run and platform. The mean is taken at the pages'
      // standard preview size, so it does not depend on how large a window
      // drew the preview, nor on whether one was drawn since the last change.
      materialRecordClearRuntime(clean.data());
      materialPreviewAverage(clean.data());
      std::string line = materialDocumentLine(int32_t(frame.id), clean.data());
      if (wParam == 1 && lParam) {
        if (!line.empty() && line.back() == '\n') line.pop_back();
        *reinterpret_cast<std::string*>(lParam) = line;
      } else if (lParam) {
        std::fputs(line.c_str(), reinterpret_cast<FILE*>(lParam));
      }
      *result = 1;
      return true;
    }
    case kMsgReadDocument: {
      LiveRecord live(*record);
      uint8_t* rec = live.data();
      if (!rec || !lParam || !materialDocumentApply(reinterpret_cast<const char*>(lParam), rec)) return true;
      materialButtonRenderPreview(rec, frame.previewWidth, frame.previewHeight);
      fx->repaint = true;
      *result = 1;
      return true;
    }
    case kMsgLeftButtonDown:
    case kMsgLeftButtonUp:
      *result = onMouse(*record, frame, message == kMsgLeftButtonDown, lParam, fx);
      return true;
    case kMsgDestroy:
      // A record someone else bound is theirs to free; the button's own goes.
      if (records->bound != records->owned) {
        materialButtonFree(records->owned);
        records->owned = 0;
        return true;
      }
      destroy(record, frame.id);
      records->owned = 0;
      return true;
    default:
      return false;
  }
}

bool startMaterialButton(DialogFacade& dialog, uint32_t id, uint32_t defaultColour) {
  if (!attachMaterialButton(dialog, id)) return false;
  return dialog.sendMessage(id, kMsgMaterialInit, 0, intptr_t(defaultColour & 0xFFFFFF)) != 0;
}

}  // namespace gw
