// What happened to a dialog's control, as the dialogs' views take it: the
// Win32 procedures turn notification codes into these (dialogEventOf), the
// tests give them directly.
#pragma once

namespace gw {

enum class DialogEvent {
  kClick,        // a button
  kSelect,       // a list's or combo's selection changed
  kDoubleClick,  // an item of a list
  kCloseUp,      // a combo's drop-down closed
  kEdit,         // an edit field's text changed
};

}  // namespace gw
