// The "Texture" dialog over its controls, without windows: fills them from
// the group editor and the working settings, and turns what the user does
// into editor calls and settings changes. The Win32 dialog procedure and the
// tests (through the in-memory dialog) drive the same object.
//
//   gw::TextureDialogView view(dialog, prompts, backup, record268);
//   view.open(settings().DefaultTextureFileName);
//   view.command(IDC_TEXTURE_ITEMS, gw::TextureEvent::kSelect, false);
//   if (view.command(IDC_BUILD, gw::TextureEvent::kClick, false)) end(view.result());
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "materials/texture_settings.h"
#include "platform/dialog_facade.h"
#include "ui/texture_group_editor.h"

namespace gw {

enum class TextureEvent {
  kClick,        // a button
  kSelect,       // a list's or combo's selection changed
  kDoubleClick,  // an item of the list
  kCloseUp,      // a combo's drop-down closed
  kEdit,         // an edit field's text changed
};

enum class TextureFieldKind { kReal, kWhole, kColour, kShape, kRampPoint, kRampColour };

// One parameter field: where it lives in the settings and the limits a
// typed value is held to (the generators' own).
struct TextureField {
  uint32_t id;
  TextureFieldKind kind;
  size_t offset;
  double min, max;
};

// The field with control id `id`, or null.
const TextureField* textureField(uint32_t id);
// Whether the generator `type` uses field `id` (so the view shows it).
bool textureFieldUsed(uint32_t type, uint32_t id);

class TextureDialogView {
 public:
  TextureDialogView(DialogFacade& dialog, GroupPrompts prompts, bool backup, const uint8_t* record268);

  // Fills every control; `groupFile` is the group kept in the configuration.
  void open(const std::string& groupFile);
  // True when the dialog is to end, with result() as its answer.
  bool command(uint32_t id, TextureEvent event, bool shift);
  int result() const { return result_; }

  const uint8_t* working() const { return working_.data(); }
  // A colour field's present colour (0x00BBGGRR); the ramp colour is the
  // chosen ramp point's.
  uint32_t colourOf(uint32_t id) const;
  // Sets a colour field (from the colour picker) and reports whether it changed.
  bool setColour(uint32_t id, uint32_t colour);
  // The group to keep in the configuration.
  const std::string& groupFile() const { return editor_.groupFile(); }
  const TextureGroupEditor& editor() const { return editor_; }

 private:
  void fillGroups();
  void fillItems();
  void showFields();
  void showValues();
  void readField(uint32_t id);

  DialogFacade& dialog_;
  TextureGroupEditor editor_;
  std::array<uint8_t, texture_settings::kSize> working_{};
  int rampPoint_ = 0;
  bool filling_ = false;
  int result_ = 0;
};

}  // namespace gw
