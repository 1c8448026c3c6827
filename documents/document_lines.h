// The document line of each kind of control: one row per kind that writes a
// line, with how it writes and how it applies one. A kind without a row
// writes nothing and takes no line. A new kind plugs in with its row in
// document_lines.cpp.
//
//   std::string line = gw::documentLineOf(dialog, 108);        // "SPNBTN108=255"
//   gw::applyDocumentLine(dialog, 108, "SPNBTN108=128");
#pragma once

#include <cstdint>
#include <string>

#include "controls/control_kind.h"
#include "platform/dialog_facade.h"

namespace gw {

struct DocumentLineKind {
  ControlKind kind;
  // The control's line without its line end; "" when it writes none.
  std::string (*write)(const DialogFacade& dialog, uint32_t id);
  // Applies a line that carries the kind's tag; false when the control
  // refused it (no "=", a value that does not decode) and kept its state.
  bool (*apply)(DialogFacade& dialog, uint32_t id, const std::string& line);
};

// The row of a kind, or null when the kind writes no line.
const DocumentLineKind* documentLineKind(ControlKind kind);

// Control `id`'s line ("" for controls that write none).
std::string documentLineOf(const DialogFacade& dialog, uint32_t id);

// Hands a line to control `id` by the control's kind. The caller has checked
// that the line's tag is the control's own.
bool applyDocumentLine(DialogFacade& dialog, uint32_t id, const std::string& line);

}  // namespace gw
